#include "drive/drive_command.h"
#include "drive/fahrwerk.h"

#include <QSignalSpy>
#include <QtTest>

using drive::DriveCommand;

class TestDriveCommand : public QObject {
    Q_OBJECT

private slots:
    void combinations_data();
    void combinations();
};

void TestDriveCommand::combinations_data()
{
    // Steps: a direction letter, "speed N", "steer N", "stop", "sharp L|R", "end", "horn 0|1", "hazard 0|1".
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("state");    // direction, speed, steering, "Hupe", "Warnblink"
    QTest::addColumn<QString>("rotation"); // the first four texts: left track, hazard, horn, right track
    QTest::addColumn<int>("changes");

    QTest::newRow("fresh") << "" << "s 0 0" << "K0Q0 W0 H0 K0Q0" << 0;
    QTest::newRow("forward, steering left") << "v;speed 100;steer -30" << "v 100 -30" << "K70 W0 H0 Q100" << 3;
    QTest::newRow("speed before the direction") << "speed 80;L" << "L 80 0" << "L80 W0 H0 Q80" << 2;
    QTest::newRow("stop direction keeps the speed") << "v;speed 100;s" << "s 100 0" << "K0Q0 W0 H0 K0Q0" << 3;
    QTest::newRow("stop zeroes the speed") << "v;speed 100;stop;v" << "v 0 0" << "K0 W0 H0 Q0" << 5;
    QTest::newRow("sharp left") << "v;speed 100;steer 30;sharp L" << "v 100 -255" << "K-155 W0 H0 Q100" << 4;
    QTest::newRow("sharp right") << "v;speed 100;sharp R" << "v 100 255" << "K100 W0 H0 Q-155" << 3;
    QTest::newRow("sharp turn ends straight") << "v;speed 100;steer 30;sharp R;end" << "v 100 0"
                                              << "K100 W0 H0 Q100" << 5;
    QTest::newRow("steered during a sharp turn, ends straight")
        << "v;speed 100;sharp L;steer 20;end" << "v 100 0" << "K100 W0 H0 Q100" << 5;
    QTest::newRow("horn and hazard") << "horn 1;hazard 1" << "s 0 0 Hupe Warnblink" << "K0Q0 W1 H1 K0Q0" << 2;
    QTest::newRow("the same again changes nothing") << "v;v;speed 5;speed 5;hazard 0;horn 0" << "v 5 0"
                                                    << "K5 W0 H0 Q5" << 2;
    QTest::newRow("unknown letters change nothing") << "v;x;V;S" << "v 0 0" << "K0 W0 H0 Q0" << 1;
}

void TestDriveCommand::combinations()
{
    QFETCH(QString, steps);
    drive::Fahrwerk fahrwerk;
    fahrwerk.setAktiv(true);
    DriveCommand command(fahrwerk);
    QSignalSpy changed(&command, &DriveCommand::changed);
    for (const QString &step : steps.split(';', Qt::SkipEmptyParts)) {
        const QString word = step.section(' ', 0, 0);
        const int number = step.section(' ', 1).toInt();
        if (word == "speed")
            command.setSpeed(number);
        else if (word == "steer")
            command.setSteering(number);
        else if (word == "stop")
            command.stop();
        else if (word == "sharp")
            command.startSharpTurn(step.endsWith('L') ? DriveCommand::Turn::Left : DriveCommand::Turn::Right);
        else if (word == "end")
            command.endSharpTurn();
        else if (word == "horn")
            command.setHorn(number);
        else if (word == "hazard")
            command.setHazard(number);
        else
            command.setDirection(word.at(0).toLatin1());
    }
    QStringList state{QString(QLatin1Char(command.direction())), QString::number(command.speed()),
                      QString::number(command.steering())};
    if (command.horn())
        state << "Hupe";
    if (command.hazard())
        state << "Warnblink";
    QTEST(state.join(' '), "state");
    QStringList rotation;
    for (int i = 0; i < 4; ++i)
        rotation << QString::fromStdString(fahrwerk.getCommand());
    QTEST(rotation.join(' '), "rotation");
    QTEST(int(changed.count()), "changes");
}

QTEST_GUILESS_MAIN(TestDriveCommand)
#include "test_drive_command.moc"
