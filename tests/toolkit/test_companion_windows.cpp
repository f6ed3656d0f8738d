// Companion windows under a real window manager: the test runs itself again on
// an Xvfb display with openbox. A main window with controls at fixed places and
// two companions: they stay above it when it is raised and active, open where
// they cover none of its controls nor each other, and reopen where the window
// manager last put one.
#include "settings/program_location.h"
#include "support/program_dir_fixture.h"
#include "toolkit/companion_windows.h"

#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <string>
#include <unistd.h>

namespace {

QRect frameOf(const QWidget &window) { return window.geometry().marginsAdded(window.windowHandle()->frameMargins()); }

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromLatin1(process.readAllStandardOutput());
}

// The managed windows from the bottom up.
QList<WId> stackingOrder()
{
    QList<WId> order;
    for (const QString &id : run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).section('#', 1).split(','))
        order << id.trimmed().toULong(nullptr, 16);
    return order;
}

} // namespace

class TestCompanionWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void stayAboveTheRaisedMainWindowAndCoverNoControl();
    void reopenWhereTheWindowManagerLeftThem();

private:
    static void showManaged(QWidget &window);

    ProgramDirFixture dir;
    std::unique_ptr<QMainWindow> mainWindow;
    std::unique_ptr<toolkit::CompanionWindows> windows;
    std::unique_ptr<QWidget> first;
    std::unique_ptr<QWidget> second;
};

// openbox may lose a window shown while it starts: the probe is shown again
// until openbox manages it.
void TestCompanionWindows::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("xvfb-run, xauth, xprop, xdotool or openbox is not installed");
    QWidget probe;
    const auto managed = [&probe] { return stackingOrder().contains(probe.winId()); };
    for (int attempt = 0; attempt < 20 && !managed(); ++attempt) {
        probe.hide();
        probe.show();
        if (QTest::qWaitFor(managed, 500))
            break;
    }
    QVERIFY(managed());
}

void TestCompanionWindows::init()
{
    mainWindow = std::make_unique<QMainWindow>();
    auto *controls = new QWidget;
    for (const QRect &place : {QRect(0, 0, 700, 420), QRect(900, 40, 200, 200)})
        (new QPushButton(controls))->setGeometry(place);
    mainWindow->setCentralWidget(controls);
    mainWindow->setGeometry(mainWindow->screen()->availableGeometry());
    windows = std::make_unique<toolkit::CompanionWindows>(*mainWindow, *controls,
                                                          settings::ProgramLocation::ofProgramDirectory(dir.path()));
    first = std::make_unique<QWidget>();
    second = std::make_unique<QWidget>();
    first->resize(300, 200);
    second->resize(420, 250);
    windows->adopt(*first, QStringLiteral("first"));
    windows->adopt(*second, QStringLiteral("second"));
    showManaged(*mainWindow);
}

void TestCompanionWindows::cleanup()
{
    windows.reset();
    first.reset();
    second.reset();
    mainWindow.reset();
}

// Managed by the window manager, and its frame known.
void TestCompanionWindows::showManaged(QWidget &window)
{
    window.show();
    QTRY_VERIFY(stackingOrder().contains(window.winId()));
    QTRY_VERIFY(window.windowHandle()->frameMargins().top() > 0);
}

void TestCompanionWindows::stayAboveTheRaisedMainWindowAndCoverNoControl()
{
    showManaged(*first);
    showManaged(*second);
    mainWindow->raise();
    mainWindow->activateWindow();
    QTRY_VERIFY(mainWindow->isActiveWindow());
    const auto above = [](const QWidget *upper) {
        const QList<WId> order = stackingOrder();
        return order.indexOf(upper->winId()) > order.indexOf(QApplication::activeWindow()->winId());
    };
    QTRY_VERIFY(above(first.get()) && above(second.get()));
    QVERIFY(first->isEnabled() && !first->parentWidget());
    for (const QPushButton *control : mainWindow->findChildren<QPushButton *>())
        for (const QWidget *companion : {first.get(), second.get()})
            QVERIFY(!frameOf(*companion).intersects({control->mapToGlobal(QPoint()), control->size()}));
    QVERIFY(!frameOf(*first).intersects(frameOf(*second)));
}

// As a user's drag: the window manager moves it and tells the program.
void TestCompanionWindows::reopenWhereTheWindowManagerLeftThem()
{
    showManaged(*first);
    run("xdotool", {"windowmove", QString::number(first->winId()), "150", "480"});
    QTRY_COMPARE(first->geometry().topLeft(), QPoint(150, 480));
    const QRect left = first->geometry();
    cleanup();
    init();
    showManaged(*first);
    QCOMPARE(first->geometry(), left);
}

// Once more on a display of its own with openbox, where all it needs is at hand.
int main(int argc, char *argv[])
{
    const QStringList needed{"xvfb-run", "xauth", "xprop", "xdotool", "openbox"};
    if (qEnvironmentVariableIsEmpty("VELMORA_UNDER_OPENBOX") &&
        std::all_of(needed.begin(), needed.end(), [](const QString &program) {
            return !QStandardPaths::findExecutable(program).isEmpty();
        })) {
        qputenv("VELMORA_UNDER_OPENBOX", "1");
        qputenv("QT_QPA_PLATFORM", "xcb");
        // Widgets alone: no GL driver is loaded, whose unloading at exit leaves
        // allocations LeakSanitizer can no longer place.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        std::vector<std::string> words{"xvfb-run", "-a", "-s", "-screen 0 1280x800x24", "sh", "-c",
                                       "openbox --sm-disable & exec \"$0\" \"$@\""};
        words.insert(words.end(), argv, argv + argc);
        std::vector<char *> command;
        for (std::string &word : words)
            command.push_back(word.data());
        command.push_back(nullptr);
        execvp(command[0], command.data());
    }
    QApplication app(argc, argv);
    TestCompanionWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_companion_windows.moc"
