#include "settings/extension_settings.h"
#include "settings/program_location.h"
#include "support/file_bytes.h"
#include "support/program_dir_fixture.h"

#include <QFile>
#include <QtTest>

class TestExtensionSettings : public QObject {
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writtenValuesComeBack();
    void writingReplacesABrokenFile();
};

// A number in 1..60 defaulting to 5, and a flag defaulting to false.
void TestExtensionSettings::reading_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("flag");

    QTest::newRow("no file") << QByteArray() << 5.0 << false;
    QTest::newRow("values") << QByteArray("[test]\nnumber=15\nflag=true\n") << 15.0 << true;
    QTest::newRow("decimal number") << QByteArray("[test]\nnumber=7.25\n") << 7.25 << false;
    QTest::newRow("missing values") << QByteArray("[test]\nother=1\n") << 5.0 << false;
    QTest::newRow("not a number, not a flag") << QByteArray("[test]\nnumber=fünf\nflag=ja\n") << 5.0 << false;
    QTest::newRow("out of range") << QByteArray("[test]\nnumber=61\n") << 5.0 << false;
    QTest::newRow("not finite") << QByteArray("[test]\nnumber=nan\n") << 5.0 << false;
    QTest::newRow("broken file") << QByteArray("[test\nnumber=15\nflag=true\n") << 5.0 << false;
}

void TestExtensionSettings::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(double, number);
    QFETCH(bool, flag);
    ProgramDirFixture dir;
    QVERIFY(file.isEmpty() || writeBytes(dir.filePath("RFS/velmora.ini"), file));
    const settings::ExtensionSettings settings(settings::ProgramLocation::ofProgramDirectory(dir.path()));
    QCOMPARE(settings.number("test/number", 5, 1, 60), number);
    QCOMPARE(settings.flag("test/flag", false), flag);
}

void TestExtensionSettings::writtenValuesComeBack()
{
    ProgramDirFixture dir;
    QVERIFY(writeBytes(dir.filePath("RFS/velmora.ini"), "[test]\nnumber=15\n"));
    {
        settings::ExtensionSettings settings(settings::ProgramLocation::ofProgramDirectory(dir.path()));
        settings.setNumber("test/other", 2.5);
        settings.setFlag("test/flag", true);
        settings.setText("test/text", "/dev/pts/3, /dev/pts/4"); // a comma would make it a list, unquoted
    }
    const settings::ExtensionSettings settings(settings::ProgramLocation::ofProgramDirectory(dir.path()));
    QCOMPARE(settings.number("test/number", 5, 1, 60), 15.0);
    QCOMPARE(settings.number("test/other", 0, 0, 10), 2.5);
    QCOMPARE(settings.flag("test/flag", false), true);
    QCOMPARE(settings.text("test/text"), "/dev/pts/3, /dev/pts/4");
    QVERIFY(!QFile::exists(dir.filePath("RFS/STARTW2.stw")));
}

void TestExtensionSettings::writingReplacesABrokenFile()
{
    ProgramDirFixture dir;
    QVERIFY(writeBytes(dir.filePath("RFS/velmora.ini"), "[test\nnumber=15\n"));
    settings::ExtensionSettings(settings::ProgramLocation::ofProgramDirectory(dir.path())).setNumber("test/other", 3);
    const settings::ExtensionSettings settings(settings::ProgramLocation::ofProgramDirectory(dir.path()));
    QCOMPARE(settings.number("test/other", 0, 0, 10), 3.0);
    QCOMPARE(settings.number("test/number", 5, 1, 60), 5.0);
}

QTEST_GUILESS_MAIN(TestExtensionSettings)
#include "test_extension_settings.moc"
