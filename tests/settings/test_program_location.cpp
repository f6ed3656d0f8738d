// Where RFS/ and info.htm lie, on real directories laid out as a program
// directory and as a program installed under a prefix.
#include "settings/program_location.h"

#include <QtTest>

class TestProgramLocation : public QObject {
    Q_OBJECT

private slots:
    // Paths are relative to a scratch root; the user's data directory is home/velmora.
    void filesLieWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("executableDir");
        QTest::addColumn<QString>("sharedFilesDir");
        QTest::addColumn<QString>("existingDir");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<QString>("infoPage");
        QTest::newRow("portable folder") << "velmora" << "../share/velmora" << "velmora/RFS" << "velmora/"
                                         << "velmora/info.htm";
        QTest::newRow("installed, first start") << "usr/bin" << "../share/velmora" << "usr/share/velmora"
                                                << "home/velmora/" << "usr/share/velmora/info.htm";
        QTest::newRow("installed on Windows, first start") << "Program Files/Velmora" << "." << "Program Files/Velmora"
                                                           << "home/velmora/" << "Program Files/Velmora/info.htm";
    }

    void filesLieWhereTheLayoutPutsThem()
    {
        QFETCH(QString, executableDir);
        QFETCH(QString, sharedFilesDir);
        QFETCH(QString, existingDir);
        QFETCH(QString, dataDir);
        QFETCH(QString, infoPage);
        QTemporaryDir scratch;
        const QDir root(scratch.path());
        QVERIFY(root.mkpath(existingDir));

        const settings::ProgramLocation location =
            settings::locateProgramFiles(root.filePath(executableDir), root.filePath(QStringLiteral("home/velmora")),
                                         sharedFilesDir);
        QCOMPARE(location.dataDir, root.filePath(dataDir));
        QCOMPARE(location.infoPage, root.filePath(infoPage));
        QVERIFY(QDir(location.dataDir).exists(QStringLiteral("RFS")));
        // A program directory leaves the user's data directory alone.
        QCOMPARE(root.exists(QStringLiteral("home")), dataDir.startsWith(QStringLiteral("home")));
    }
};

QTEST_GUILESS_MAIN(TestProgramLocation)
#include "test_program_location.moc"
