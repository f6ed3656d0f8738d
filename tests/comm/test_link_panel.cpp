// One link panel on bare widgets with its connection, without the main window:
// the state as each link goes and comes back, what the connection tells its
// collaborators, how its command sender logs and sends, and its port list.
#include "comm/connection.h"
#include "comm/debug_log.h"
#include "comm/link_factory.h"
#include "comm/link_panel.h"
#include "comm/port_list_watch.h"
#include "comm/serial_link.h"
#include "support/fake_serial_device.h"
#include "support/message_recorder.h"
#include "support/pty_pair.h"
#include "support/tcp_peer.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

Q_DECLARE_METATYPE(platform::OpenFailure)

namespace {

using State = comm::Connection::State;

QComboBox *editableBox(QWidget *parent, const QStringList &items = {})
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(items);
    return box;
}

// The panel's widgets on one plain parent, and what the panel tells.
struct Rig {
    explicit Rig(comm::LinkFactory makeLink = comm::makeLink) : connection({2, "I1\r", {}}, std::move(makeLink))
    {
        widgets = comm::LinkWidgets{
            new QRadioButton(&window), new QRadioButton(&window), new QLineEdit(&window), new QLineEdit(&window),
            new QPlainTextEdit(&window), new QLineEdit(&window), new QPushButton(&window), new QPushButton(&window),
            editableBox(&window), editableBox(&window), editableBox(&window),
            editableBox(&window, {"no", "odd", "even", "mark", "space"}), editableBox(&window, {"1", "1.5", "2"}),
            new QLabel(&window), new QLabel(&window), new QLabel(&window), new QLabel(&window), new QLabel(&window)};
        panel = std::make_unique<comm::LinkPanel>(widgets, connection, nullptr);
        QObject::connect(&connection, &comm::Connection::logged, [this](const QString &line) { log.logLine(line); });
        QObject::connect(&connection, &comm::Connection::busyChanged, [this](bool busy) { busyTold.push_back(busy); });
        QObject::connect(&connection, &comm::Connection::opened, [this] { ++openedTold; });
        QObject::connect(&connection, &comm::Connection::received,
                         [this](const std::string &text) { receivedTold += text; });
        panel->init();
    }

    void chooseSerial(const std::string &device)
    {
        widgets.rbtnSeriell->setChecked(true);
        widgets.deviceName->setEditText(QString::fromStdString(device));
    }

    void chooseTcp(quint16 port)
    {
        widgets.ip->setText(QStringLiteral("127.0.0.1"));
        widgets.port->setText(QString::number(port));
    }

    MessageRecorder recorder;
    QWidget window;
    QPlainTextEdit memo;
    comm::DebugLog log {memo};
    comm::Connection connection;
    comm::LinkWidgets widgets {};
    std::unique_ptr<comm::LinkPanel> panel;
    std::vector<bool> busyTold;
    int openedTold = 0;
    std::string receivedTold;
};

} // namespace

class TestLinkPanel : public QObject {
    Q_OBJECT

private slots:
    void serialLinkTellsOpenedReceivedAndFreedWhenItsLineGoes()
    {
        Rig rig;
        PtyPair line;
        QVERIFY(line.isValid());
        rig.chooseSerial(line.deviceName());
        rig.widgets.connectButton->click();
        QCOMPARE(rig.connection.state(), State::Open);
        QCOMPARE(rig.openedTold, 1);
        QCOMPARE(rig.busyTold, std::vector<bool>{true});

        QVERIFY(line.send("A42\r"));
        QTRY_COMPARE(rig.receivedTold, std::string("A42\r"));
        rig.connection.sendCommand("K120");
        QCOMPARE(line.receive(5), std::string("K120\r"));
        QCOMPARE(rig.memo.toPlainText(), QStringLiteral("K120<cr>"));

        line.closeMaster();
        QTRY_COMPARE(rig.busyTold, (std::vector<bool>{true, false}));
        QCOMPARE(rig.connection.state(), State::Idle);
        QCOMPARE(rig.recorder.texts().size(), 1);
        QCOMPARE(rig.openedTold, 1);
    }

    void serialPortThatWillNotOpenIsReportedWithItsReason_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<platform::OpenFailure>("failure");
        QTest::addColumn<QString>("advice");
        QTest::newRow("device missing") << "No such file or directory" << platform::OpenFailure::Other << QString();
        QTest::newRow("account not in dialout")
            << "Permission denied" << platform::OpenFailure::NoPermission
            << "\n\nIhr Benutzerkonto darf die Schnittstelle nicht öffnen: Es muss zur Gruppe dialout gehören. Mit "
               "„sudo usermod -aG dialout $USER“ nehmen Sie es auf; das gilt ab der nächsten Anmeldung.";
    }

    void serialPortThatWillNotOpenIsReportedWithItsReason()
    {
        QFETCH(QString, error);
        QFETCH(platform::OpenFailure, failure);
        QFETCH(QString, advice);
        FakePort port;
        port.openSucceeds = false;
        port.openError = error.toStdString();
        port.openFailure = failure;
        Rig rig([&port](const comm::LinkSettings &settings) -> std::unique_ptr<comm::Link> {
            if (std::holds_alternative<comm::SerialSettings>(settings))
                return std::make_unique<comm::SerialLink>(FakeSerialDevice::on(port));
            return comm::makeLink(settings);
        });
        rig.chooseSerial("/dev/ttyUSB0");
        rig.widgets.connectButton->click();
        QCOMPARE(rig.connection.state(), State::Idle);
        QCOMPARE(rig.recorder.texts(),
                 QStringList{"Die serielle Schnittstelle /dev/ttyUSB0 konnte nicht geöffnet werden:\n" + error + advice});
        QCOMPARE(rig.busyTold, std::vector<bool>{false});
        QCOMPARE(rig.openedTold, 0);
        QCOMPARE(rig.widgets.connectButton->text(), QStringLiteral("Verbinden"));
        QVERIFY(rig.widgets.rbtnTCP->isEnabled());
    }

    // Connecting, open, closing by the button, idle; then an attempt nobody answers.
    void tcpLinkGoesThroughItsStates()
    {
        Rig rig;
        TcpPeer peer;
        rig.chooseTcp(peer.port());
        rig.widgets.connectButton->click();
        QCOMPARE(rig.connection.state(), State::Connecting);
        QVERIFY(!rig.widgets.rbtnSeriell->isEnabled());
        QTRY_COMPARE(rig.connection.state(), State::Open);
        QTRY_COMPARE(peer.received(), QByteArray("I1\r"));
        QCOMPARE(rig.openedTold, 1);

        rig.widgets.connectButton->click();
        QCOMPARE(rig.connection.state(), State::Closing);
        QCOMPARE(rig.busyTold, (std::vector<bool>{true, false}));
        QTRY_COMPARE(rig.connection.state(), State::Idle);
        QVERIFY(rig.widgets.rbtnSeriell->isEnabled());

        rig.chooseTcp(unusedLoopbackPort());
        rig.widgets.connectButton->click();
        QTRY_COMPARE(rig.recorder.texts().size(), 1);
        QCOMPARE(rig.connection.state(), State::Idle);
        QCOMPARE(rig.busyTold, (std::vector<bool>{true, false, true, false}));
        QCOMPARE(rig.openedTold, 1);
    }

    void lostLinkWaitsAndComesBack_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::addColumn<bool>("endWaiting");
        QTest::newRow("pty under a name that comes back") << true << false;
        QTest::newRow("tcp server that comes back") << false << false;
        QTest::newRow("waiting ended by the button") << false << true;
    }

    // Nothing sent while it waited goes out: over TCP the probe comes first, as
    // at any connect; on the serial line the next command.
    void lostLinkWaitsAndComesBack()
    {
        QFETCH(bool, serial);
        QFETCH(bool, endWaiting);
        Rig rig;
        rig.connection.setAutoReconnect(true);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("robot"));
        auto line = std::make_unique<PtyPair>();
        TcpPeer peer;
        if (serial) {
            QVERIFY(QFile::link(QString::fromStdString(line->deviceName()), name));
            rig.chooseSerial(name.toStdString());
        } else {
            rig.chooseTcp(peer.port());
        }
        rig.widgets.connectButton->click();
        QTRY_COMPARE(rig.connection.state(), State::Open);

        if (serial) {
            line->closeMaster();
            QFile::remove(name);
        } else {
            peer.goAway();
        }
        QTRY_COMPARE(rig.connection.state(), State::Waiting);
        QCOMPARE(rig.widgets.connectButton->text(), QStringLiteral("unterbrochen"));
        QVERIFY(!rig.widgets.rbtnSeriell->isEnabled() || !rig.widgets.rbtnTCP->isEnabled());
        QVERIFY(rig.memo.toPlainText().contains(QStringLiteral(" Verbindung 2 unterbrochen;")));
        QCOMPARE(rig.busyTold, (std::vector<bool>{true, false}));
        rig.connection.sendCommand("K9");
        if (endWaiting) {
            rig.widgets.connectButton->click();
            QCOMPARE(rig.connection.state(), State::Idle);
            QCOMPARE(rig.widgets.connectButton->text(), QStringLiteral("Verbinden"));
            QVERIFY(rig.memo.toPlainText().endsWith(QStringLiteral("Warten auf die Wiederherstellung beendet")));
            return;
        }
        if (serial) {
            line = std::make_unique<PtyPair>();
            QVERIFY(QFile::link(QString::fromStdString(line->deviceName()), name));
        } else {
            QVERIFY(peer.comeBack());
        }
        QTRY_COMPARE(rig.connection.state(), State::Open);
        QVERIFY(rig.memo.toPlainText().endsWith(QStringLiteral(" Verbindung 2 wiederhergestellt")));
        QCOMPARE(rig.busyTold, (std::vector<bool>{true, false, true}));
        QCOMPARE(rig.openedTold, 2);
        QVERIFY(rig.recorder.texts().isEmpty());
        rig.connection.sendCommand("K0");
        if (serial)
            QCOMPARE(line->receive(3), std::string("K0\r"));
        else
            QTRY_COMPARE(peer.received(), QByteArray("I1\rI1\rK0\r"));
    }

    // Ports come and go in a watched directory; what the box shows stays.
    void portListFollowsTheSystem()
    {
        Rig rig;
        QTemporaryDir dev;
        comm::PortListWatch watch(
            nullptr,
            [&dev] {
                std::vector<std::string> names;
                for (const QString &name : QDir(dev.path()).entryList(QDir::Files))
                    names.push_back(name.toStdString());
                return names;
            },
            dev.path());
        QObject::connect(&watch, &comm::PortListWatch::portsChanged, rig.panel.get(), &comm::LinkPanel::showPorts);
        const auto plug = [&dev](const char *name) { QFile(dev.filePath(name)).open(QIODevice::WriteOnly); };
        QComboBox &box = *rig.widgets.deviceName;
        const auto items = [&box] {
            QStringList texts;
            for (int item = 0; item < box.count(); ++item)
                texts << box.itemText(item);
            return texts;
        };
        box.setEditText(QStringLiteral("ttyUS")); // typing

        plug("ttyUSB0");
        QTRY_COMPARE(items(), QStringList{"ttyUSB0"});
        QCOMPARE(box.currentText(), QStringLiteral("ttyUS"));
        box.setCurrentIndex(0);
        plug("ttyACM0");
        QTRY_COMPARE(items(), (QStringList{"ttyACM0", "ttyUSB0"}));
        QCOMPARE(box.currentText(), QStringLiteral("ttyUSB0"));
        QFile::remove(dev.filePath(QStringLiteral("ttyUSB0")));
        QTRY_COMPARE(items(), QStringList{"ttyACM0"});
        QCOMPARE(box.currentText(), QStringLiteral("ttyUSB0"));
    }

    void commandWithNoPathUpIsLoggedAndKept()
    {
        Rig rig;
        rig.connection.sendCommand("#16P1500");
        QCOMPARE(rig.memo.toPlainText(), QStringLiteral("#16P1500<cr>"));
        QCOMPARE(rig.widgets.transmitEdit->text(), QStringLiteral("#16P1500\r"));
        QVERIFY(rig.busyTold.empty());
        QVERIFY(rig.recorder.texts().isEmpty());
    }
};

QTEST_MAIN(TestLinkPanel)
#include "test_link_panel.moc"
