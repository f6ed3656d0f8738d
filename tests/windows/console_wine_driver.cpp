// The Windows half of test_console_under_wine: the whole console built with
// mingw, made in this process as main() makes it and used through its controls
// while the test's simulator plays the robot on Linux. Each step is a Qt Test
// function, so each is printed on stdout and the exit code counts the failed ones.
//   console_wine_driver.exe -platform windows:fontengine=freetype POSITION [SCREENSHOT]
// It lies in the install folder beside velmora.exe, and is the installed
// console: its RFS/STARTW2.stw, in %APPDATA%\Velmora, points both links at the
// simulator. POSITION is where Schulter is moved; SCREENSHOT is where a picture
// of the window is saved once telemetry shows.
#include "app/app_windows.h"
#include "app/tform1.h"
#include "app/velmora_application.h"
#include "support/message_recorder.h"
#include "toolkit/track_bar.h"
#include "toolkit/up_down.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <windows.h>

namespace {

// A bound for a failing run only: Wine starts slowly on a busy machine.
constexpr int kPeerTimeoutMs = 20000;

} // namespace

class ConsoleUnderWine : public QObject {
    Q_OBJECT

public:
    ConsoleUnderWine(int position, QString screenshotPath)
        : position(position), screenshotPath(std::move(screenshotPath))
    {
    }

private slots:
    void initTestCase()
    {
        // A connect that finds no signal: a class taken from a DLL without dllimport.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QObject::connect")));
        windows = app::createAppWindows();
        windows.form1->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(windows.form1.get()));
        QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join(QLatin1Char('|'))));
    }

    // As Windows has it, not as Qt keeps it.
    void windowShowsItsCaption()
    {
        wchar_t caption[256] = {};
        GetWindowTextW(reinterpret_cast<HWND>(windows.form1->winId()), caption, 256);
        QCOMPARE(QString::fromWCharArray(caption), QStringLiteral("Velmora Projekt: Technikerarbeit - Projektteam 2007"));
    }

    void linkConnectsOverTcp_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("announcement");
        QTest::newRow("arm") << "1" << "Lynxmotion SSC32 am WiPort gefunden!";
        QTest::newRow("chassis") << "2" << "Kettenfahrzeug am WiPort gefunden!";
    }

    void linkConnectsOverTcp()
    {
        QFETCH(QString, link);
        QFETCH(QString, announcement);
        recorder.clear();
        auto *button = control<QPushButton>("btnConnect" + link);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(button->text(), QStringLiteral("TCP aktiv"), kPeerTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.texts(), QStringList{announcement}, kPeerTimeoutMs);
    }

    // The arm timer sends it; the debug memo shows what went out.
    void jointMoveGoesOut()
    {
        control<toolkit::TrackBar>(QStringLiteral("trbServo2"))->setValue(position);
        const QString command = QStringLiteral("P%1").arg(position);
        auto *memo = control<QPlainTextEdit>(QStringLiteral("Memo1"));
        QTRY_VERIFY_WITH_TIMEOUT(memo->toPlainText().contains(command), kPeerTimeoutMs);
    }

    void telemetryFillsTheReadOuts()
    {
        QStringList readings;
        for (const char *name : {"edtBatterie", "edtTemperatur", "edtAbstand"}) {
            auto *readOut = control<QLineEdit>(QLatin1String(name));
            QTRY_VERIFY2_WITH_TIMEOUT(!readOut->text().isEmpty(), name, kPeerTimeoutMs);
            readings << QLatin1String(name) + QLatin1Char(' ') + readOut->text();
        }
        qInfo("%s", qPrintable(readings.join(QStringLiteral(", "))));
        if (!screenshotPath.isEmpty())
            QVERIFY(windows.form1->screen()->grabWindow(windows.form1->winId()).save(screenshotPath));
    }

    // Schulter's upper limit lowered by one step shows that the window's state was saved.
    void closingSavesTheSettings()
    {
        control<toolkit::UpDown>(QStringLiteral("udMax2"))->stepDown();
        recorder.clear();
        recorder.answerQuestions({msg::Answer::Yes});
        QVERIFY(windows.form1->close());
        QCOMPARE(recorder.texts(), (QStringList{QStringLiteral("Wollen Sie die Einstellungen speichern?"),
                                                QStringLiteral("Einstellungen wurden erfolgreich gesichert!")}));
    }

private:
    template <typename Widget>
    Widget *control(const QString &name) const
    {
        auto *widget = windows.form1->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

    const int position;
    const QString screenshotPath;
    MessageRecorder recorder;
    app::AppWindows windows;
};

int main(int argc, char *argv[])
{
    // Qt Test prints to stdout only where a console is attached; under Wine the
    // test's pipe is none, and the lines would go to the debugger's channel.
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
    app::VelmoraApplication application(argc, argv); // takes -platform
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2) {
        std::printf("usage: console_wine_driver.exe POSITION [SCREENSHOT]\n");
        return 2;
    }
    ConsoleUnderWine steps(arguments[1].toInt(), arguments.value(2));
    return QTest::qExec(&steps, 1, argv);
}

#include "console_wine_driver.moc"
