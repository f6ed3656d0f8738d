// One link panel on bare widgets, without the main window: what it tells its
// collaborators through its signals and how its command sender logs and sends.
#include "comm/debug_log.h"
#include "comm/link_panel.h"
#include "comm/qt_hand_over.h"
#include "support/message_recorder.h"
#include "support/pty_pair.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QComboBox *editableBox(QWidget *parent, const QStringList &items = {})
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(items);
    return box;
}

// The panel's widgets on one plain parent, and what the panel tells.
struct Rig {
    Rig()
    {
        const comm::LinkWidgets widgets{
            new QRadioButton(&window), new QRadioButton(&window), new QLineEdit(&window), new QLineEdit(&window),
            new QPlainTextEdit(&window), new QLineEdit(&window), new QPushButton(&window), new QPushButton(&window),
            editableBox(&window), editableBox(&window), editableBox(&window),
            editableBox(&window, {"no", "odd", "even", "mark", "space"}), editableBox(&window, {"1", "1.5", "2"}),
            new QLabel(&window), new QLabel(&window), new QLabel(&window), new QLabel(&window), new QLabel(&window)};
        seriell = widgets.rbtnSeriell;
        deviceName = widgets.deviceName;
        transmitEdit = widgets.transmitEdit;
        panel = std::make_unique<comm::LinkPanel>(2, "I1\r", widgets, handOver, log, nullptr);
        QObject::connect(panel.get(), &comm::LinkPanel::busyChanged, [this](bool busy) { busyTold.push_back(busy); });
        QObject::connect(panel.get(), &comm::LinkPanel::opened, [this] { ++openedTold; });
        QObject::connect(panel.get(), &comm::LinkPanel::received,
                         [this](const std::string &text) { receivedTold += text; });
        panel->init();
    }

    MessageRecorder recorder;
    QWidget window;
    QPlainTextEdit memo;
    comm::DebugLog log {memo};
    QtHandOver handOver;
    std::unique_ptr<comm::LinkPanel> panel;
    QRadioButton *seriell = nullptr;
    QComboBox *deviceName = nullptr;
    QLineEdit *transmitEdit = nullptr;
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
        rig.seriell->setChecked(true);
        rig.panel->chooseSerial();
        rig.deviceName->setEditText(QString::fromStdString(line.deviceName()));
        rig.panel->changeDeviceName();
        rig.panel->connectOrDisconnect();
        QCOMPARE(rig.openedTold, 1);
        QCOMPARE(rig.busyTold, std::vector<bool>{true});

        QVERIFY(line.send("A42\r"));
        QTRY_COMPARE(rig.receivedTold, std::string("A42\r"));
        rig.panel->sendCommand("K120");
        QCOMPARE(line.receive(5), std::string("K120\r"));
        QCOMPARE(rig.memo.toPlainText(), QStringLiteral("K120<cr>"));

        line.closeMaster();
        QTRY_COMPARE(rig.busyTold, (std::vector<bool>{true, false}));
        QCOMPARE(rig.recorder.texts().size(), 1);
        QCOMPARE(rig.openedTold, 1);
    }

    void commandWithNoPathUpIsLoggedAndKept()
    {
        Rig rig;
        rig.panel->sendCommand("#16P1500");
        QCOMPARE(rig.memo.toPlainText(), QStringLiteral("#16P1500<cr>"));
        QCOMPARE(rig.transmitEdit->text(), QStringLiteral("#16P1500\r"));
        QVERIFY(rig.busyTold.empty());
        QVERIFY(rig.recorder.texts().isEmpty());
    }
};

QTEST_MAIN(TestLinkPanel)
#include "test_link_panel.moc"
