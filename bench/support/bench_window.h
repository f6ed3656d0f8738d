#pragma once
// The real main window for a benchmark: shown (offscreen), in a temporary
// program directory whose settings file holds the default joints, so start-up
// shows no message box. Links are opened the way the operator does it, through
// the panel's controls, found by their object names.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

class QSlider;
class QTimer;
namespace app {
class TForm1;
}

namespace bench {

// Writes a settings file with the default joints, both links at 127.0.0.1 and
// the webcam at 127.0.0.1 into dir/RFS.
bool writeSettingsFile(const QString &programDir);

class BenchWindow {
public:
    BenchWindow();
    ~BenchWindow();

    bool isValid() const { return form != nullptr; }
    app::TForm1 &window() { return *form; }

    // Chooses "Seriell" on link n (1 or 2), enters the device and clicks
    // connect; true when the port opened.
    bool openSerial(int link, const std::string &device);
    // Clicks connect on an open serial link; true when it closed.
    bool closeSerial(int link);
    // Chooses TCP on link n, enters 127.0.0.1 and port and clicks connect;
    // true once the connection is up (within a few seconds).
    bool connectTcp(int link, int port);

    QSlider *jointSlider(int joint) const;
    QTimer *timer(const char *objectName) const;

private:
    QTemporaryDir dir;
    std::unique_ptr<app::TForm1> form;
};

} // namespace bench
