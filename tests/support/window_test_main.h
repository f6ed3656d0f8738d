#pragma once
// main() of a window test: the program's own application object (its title and its
// display of escaped exceptions), and the toolkit's own file dialogs, which a test
// can find and answer.
#include "app/velmora_application.h"

#include <QtTest>

template <typename Test>
int runWindowTest(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    app::VelmoraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

#define VELMORA_WINDOW_TEST_MAIN(Test) \
    int main(int argc, char *argv[]) { return runWindowTest<Test>(argc, argv); }
