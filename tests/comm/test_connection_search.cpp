// The window "Verbindung suchen" in a real main window, over pseudo-terminals
// whose far ends play a controller set to one baud rate, stay silent, or are
// held by another program: what it finds, what each line got, and what
// "Übernehmen" puts into the link panels. Then the search's outcome for ports
// that refuse to open.
#include "app/tform1.h"
#include "comm/connection.h"
#include "comm/connection_search_window.h"
#include "support/fake_serial_device.h"
#include "support/message_recorder.h"
#include "support/program_dir_fixture.h"
#include "support/pty_pair.h"
#include "support/window_test_main.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSocketNotifier>
#include <QTableWidget>
#include <QtTest>
#include <unistd.h>

Q_DECLARE_METATYPE(platform::OpenFailure)
Q_DECLARE_METATYPE(comm::SearchFinding::Outcome)

namespace {

// The far end of a line: it keeps what it got and, when the line runs at its
// rate, answers its probe (at another rate the device would get noise).
struct FarEnd {
    FarEnd(std::string probe = {}, std::string answer = {}, speed_t rate = B0)
        : probe(std::move(probe)), answer(std::move(answer)), rate(rate)
    {
        QObject::connect(&readable, &QSocketNotifier::activated, [this] {
            char chunk[256];
            const ssize_t count = ::read(line.farEnd(), chunk, sizeof chunk);
            got.append(chunk, std::size_t(std::max<ssize_t>(count, 0)));
            const termios settings = line.slaveSettings();
            if (!this->probe.empty() && QByteArray::fromStdString(got).endsWith(this->probe.c_str())
                && ::cfgetospeed(&settings) == this->rate)
                line.send(this->answer);
        });
    }
    QString name() const { return QString::fromStdString(line.deviceName()); }

    PtyPair line;
    QSocketNotifier readable {line.farEnd(), QSocketNotifier::Read};
    const std::string probe, answer;
    const speed_t rate;
    std::string got;
};

} // namespace

class TestConnectionSearch : public QObject {
    Q_OBJECT

private slots:
    void searchFindsEachControllerAtItsRateAndTakesItOver()
    {
        ProgramDirFixture dir;
        MessageRecorder recorder;
        app::TForm1 form(dir.path());
        recorder.clear(); // the box about the missing settings file
        FarEnd arm("VER\r", "SSC32-1.06XE\r", B38400);
        FarEnd chassis("I1\r", "VELMO-2007\r", B9600);
        FarEnd silent;
        FarEnd held;
        QProcess holder; // another program with the line open
        holder.setStandardInputFile(held.name());
        holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(holder.waitForStarted());

        form.findChild<QAction *>(QStringLiteral("Verbindungsuchen1"))->trigger();
        // A companion window of the main window, not its child.
        comm::ConnectionSearchWindow *window = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            window = window ? window : qobject_cast<comm::ConnectionSearchWindow *>(top);
        QVERIFY(window && window->isVisible() && !window->isModal() && form.isEnabled());
        const QString typed = QStringList{arm.name(), chassis.name(), silent.name(), held.name()}.join(", ")
                              + " /dev/velmora-none";
        window->findChild<QLineEdit *>(QStringLiteral("moreDevices"))->setText(typed);
        window->findChild<QCheckBox *>(QStringLiteral("reconnect2"))->setChecked(true);
        QVERIFY(form.findChild<comm::Connection *>(QStringLiteral("connection2"))->autoReconnect());
        window->search();
        auto *state = window->findChild<QLabel *>(QStringLiteral("searchState"));
        QTRY_VERIFY_WITH_TIMEOUT(state->text().startsWith("Gefunden"), 10000);

        auto *table = window->findChild<QTableWidget *>(QStringLiteral("findings"));
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + " " + table->item(row, 1)->text() + " "
                        + table->item(row, 2)->text();
        for (const QString &row : {arm.name() + " SSC-32 (Greifarm) 38400", chassis.name() + " Fahrwerk 9600",
                                   silent.name() + " keine Antwort ", held.name() + " belegt ",
                                   QStringLiteral("/dev/velmora-none nicht erreichbar ")})
            QVERIFY2(rows.contains(row), qPrintable(rows.join('|') + " lacks " + row));
        // At 9600 and 38400, and at 115200 for the silent line: the probes and nothing else.
        QCOMPARE(arm.got, std::string("VER\rI1\rVER\r"));
        QCOMPARE(chassis.got, std::string("VER\rI1\r"));
        QCOMPARE(silent.got, std::string("VER\rI1\rVER\rI1\rVER\rI1\r"));
        QCOMPARE(held.got, std::string());

        QTest::mouseClick(window->findChild<QPushButton *>(), Qt::LeftButton); // "Suchen" is idle again
        QVERIFY(state->text().startsWith("Suche"));
        QTRY_VERIFY_WITH_TIMEOUT(state->text().startsWith("Gefunden"), 10000);
        window->takeOver();
        for (const auto &[n, device, baud] : {std::tuple{1, arm.name(), "38400"}, {2, chassis.name(), "9600"}}) {
            QVERIFY(form.findChild<QRadioButton *>(QStringLiteral("rbtnSeriell%1").arg(n))->isChecked());
            QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("cbxDeviceName%1").arg(n))->currentText(), device);
            QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("cbxBaudRate%1").arg(n))->currentText(), baud);
            QCOMPARE(form.findChild<QPushButton *>(QStringLiteral("btnConnect%1").arg(n))->text(), "Verbinden");
        }
        const QSettings stored(dir.filePath(QStringLiteral("RFS/velmora.ini")), QSettings::IniFormat);
        QCOMPARE(stored.value("connect/more_devices").toString(), typed);
        QCOMPARE(stored.value("connect/reconnect_link2").toString(), "true");
        QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join("|")));
        holder.kill();
        holder.waitForFinished();
    }

    void portThatWillNotOpen_data()
    {
        QTest::addColumn<platform::OpenFailure>("failure");
        QTest::addColumn<comm::SearchFinding::Outcome>("outcome");
        using Outcome = comm::SearchFinding::Outcome;
        QTest::newRow("account outside dialout") << platform::OpenFailure::NoPermission << Outcome::NoAccess;
        QTest::newRow("held exclusively") << platform::OpenFailure::InUse << Outcome::InUse;
        QTest::newRow("other") << platform::OpenFailure::Other << Outcome::Failed;
    }

    void portThatWillNotOpen()
    {
        QFETCH(platform::OpenFailure, failure);
        FakePort port;
        port.openSucceeds = false;
        port.openFailure = failure;
        comm::ControllerSearch search(nullptr, [&port] { return FakeSerialDevice::on(port); });
        PtyPair line; // a device that is there
        std::vector<comm::SearchFinding> found;
        QObject::connect(&search, &comm::ControllerSearch::found,
                         [&found](int, const comm::SearchFinding &finding) { found.push_back(finding); });
        search.start({line.deviceName()}, {}, {}, {{1, "VER\r", {}, {}}});
        QTRY_COMPARE(found.size(), std::size_t(1));
        QTEST(found.front().outcome, "outcome");
        QCOMPARE(port.calls, std::vector<std::string>{"open " + line.deviceName()});
    }
};

VELMORA_WINDOW_TEST_MAIN(TestConnectionSearch)
#include "test_connection_search.moc"
