#pragma once
// The application object. An exception escaping an event handler is shown in an
// error box and the program goes on, instead of the process ending.
#include <QApplication>

namespace app {

class VelmoraApplication : public QApplication {
    Q_OBJECT

public:
    VelmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace app
