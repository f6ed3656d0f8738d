// Start-up time: from the moment a process is started until the first tick of
// ServoTimer1 with the main window shown (offscreen), the median of several
// starts. The benchmark starts itself again as the measured process, which does
// what the program's main() does (application object, the four windows, the
// main window shown maximised, the event loop) in a program directory with a
// settings file, and reports the first tick on a pipe. The clock starts in the
// parent just before the new process is spawned, so loading the program and
// its libraries is counted.
#include "app/app_windows.h"
#include "app/tform1.h"
#include "app/velmora_application.h"
#include "support/bench_window.h"
#include "support/figures.h"

#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char *kChildFlag = "--started-process";
constexpr int kGiveUpMs = 30000;

// The measured process: main() of the program, plus a word on the pipe at the
// first tick.
int runAsStartedProcess(int argc, char *argv[], const QString &programDir, int reportTo)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    app::VelmoraApplication app(argc, argv);
    app::AppWindows windows = app::createAppWindows(programDir);
    windows.form1->showMaximized();
    QTimer *servoTimer = windows.form1->findChild<QTimer *>(QStringLiteral("ServoTimer1"));
    if (!servoTimer)
        return 1;
    QObject::connect(servoTimer, &QTimer::timeout, [&] {
        const bool shown = windows.form1->isVisible();
        [[maybe_unused]] const ssize_t written = ::write(reportTo, shown ? "T" : "H", 1);
        // Measured: ending now spares the closing question about the settings.
        ::_exit(0);
    });
    return app.exec();
}

// Milliseconds from spawning the process to its report; negative if it failed.
double timeOneStart(const char *self, const QString &programDir)
{
    int report[2];
    if (::pipe(report) != 0)
        return -1;
    const std::string reportTo = std::to_string(report[1]);
    const std::string dir = programDir.toStdString();
    std::vector<char *> args {const_cast<char *>(self), const_cast<char *>(kChildFlag),
                              const_cast<char *>(dir.c_str()), const_cast<char *>(reportTo.c_str()), nullptr};
    pid_t child = 0;
    const Clock::time_point startedAt = Clock::now();
    if (::posix_spawn(&child, self, nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    ::close(report[1]);
    pollfd readable {report[0], POLLIN, 0};
    char word = 0;
    const bool ticked = ::poll(&readable, 1, kGiveUpMs) > 0 && ::read(report[0], &word, 1) == 1;
    const Clock::time_point tickedAt = Clock::now();
    ::close(report[0]);
    int status = 0;
    if (!ticked)
        ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    if (!ticked || word != 'T')
        return -1;
    return std::chrono::duration<double, std::milli>(tickedAt - startedAt).count();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0)
        return runAsStartedProcess(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));

    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir programDir;
    if (!programDir.isValid() || !bench::writeSettingsFile(programDir.path()))
        return 1;
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    std::vector<double> timesMs;
    for (int start = 0; start < starts; ++start) {
        const double ms = timeOneStart(self, programDir.path());
        if (ms < 0) {
            std::fprintf(stderr, "start %d did not reach its first tick\n", start + 1);
            return 1;
        }
        timesMs.push_back(ms);
    }
    bench::Figure("startup.first_tick.median", bench::percentile(timesMs, 0.5), "ms").atMost(1000).print();
    bench::Figure("startup.first_tick.min", bench::percentile(timesMs, 0.0), "ms").print();
    bench::Figure("startup.first_tick.max", bench::percentile(timesMs, 1.0), "ms").print();
    return 0;
}
