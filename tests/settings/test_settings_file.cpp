#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/resource_limit.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using settings::Settings;
using settings::SettingsRead;

namespace {

// The message as the German console shows it.
std::optional<std::string> german(const std::optional<platform::UiText> &message)
{
    return message ? std::optional(message->german()) : std::nullopt;
}

// The joints and fields as the program starts without a settings file.
Settings initialSettings()
{
    Settings values;
    values.joints = {{{16, 751, 2251}, {17, 752, 2252}, {18, 753, 2253}, {19, 754, 2254}, {20, 1175, 1825}}};
    values.links = {{{"192.168.100.100", "10001"}, {"192.168.100.100", "10002"}}};
    values.webCam = {"192", "168", "100", "5"};
    return values;
}

const QByteArray kInitialFile = "16 751 2251 \r\n"
                                "17 752 2252 \r\n"
                                "18 753 2253 \r\n"
                                "19 754 2254 \r\n"
                                "20 1175 1825 \r\n"
                                "192.168.100.100 10001 \r\n"
                                "192.168.100.100 10002 \r\n"
                                "192 168 100 5 \r\n";

const QString kInitialValues = "16 751 2251 17 752 2252 18 753 2253 19 754 2254 20 1175 1825 "
                               "192.168.100.100 10001 192.168.100.100 10002 192 168 100 5";

// The 23 values in file order, "-" for each one the read did not yield.
QString describe(const SettingsRead &read)
{
    QStringList words;
    const auto add = [&](const auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::optional<std::int32_t>>)
            words << (value ? QString::number(*value) : QString("-"));
        else
            words << (value ? QString::fromStdString(*value) : QString("-"));
    };
    for (const settings::JointRead &joint : read.joints) {
        add(joint.kanal);
        add(joint.limitMin);
        add(joint.limitMax);
    }
    for (const settings::LinkRead &link : read.links) {
        add(link.ip);
        add(link.port);
    }
    for (const std::optional<std::string> &part : read.webCam)
        add(part);
    return words.join(' ');
}

QString firstValuesThenMissing(int good)
{
    QStringList words = kInitialValues.split(' ').mid(0, good);
    while (words.size() < 23)
        words << "-";
    return words.join(' ');
}

QByteArray replaced(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    return text.replace(from, to);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void formatsEightLinesWithSpaceAfterEachValue();
    void formatsFieldsAsTyped();
    void parse_data();
    void parse();
    void everyShortenedFileYieldsItsLeadingValues();
    void writesExactBytes();
    void writeAndReadRoundTrip();
    void writeReplacesOldFile();
    void writeIntoMissingDirectoryCreatesNothing();
    void writeBelowRegularFileFails();
    void writeOnFullDiskKeepsOldFile();
    void readOfMissingFileGivesNothing();
    void readOfOddFileGivesNothing_data();
    void readOfOddFileGivesNothing();

private:
    QTemporaryDir dir;
};

void TestSettingsFile::formatsEightLinesWithSpaceAfterEachValue()
{
    QCOMPARE(QByteArray::fromStdString(settings::formatSettings(initialSettings())), kInitialFile);
}

void TestSettingsFile::formatsFieldsAsTyped()
{
    Settings values = initialSettings();
    values.joints[0] = {-1, 0, 99999};
    values.links[0] = {"", "10 001"};
    values.webCam = {"", "x", "", "300"};
    QCOMPARE(QByteArray::fromStdString(settings::formatSettings(values)),
             QByteArray("-1 0 99999 \r\n17 752 2252 \r\n18 753 2253 \r\n19 754 2254 \r\n"
                        "20 1175 1825 \r\n 10 001 \r\n192.168.100.100 10002 \r\n x  300 \r\n"));
}

void TestSettingsFile::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("values");
    QTest::addColumn<bool>("complete");

    QTest::newRow("as written") << kInitialFile << kInitialValues << true;
    QTest::newRow("tabs") << replaced(kInitialFile, " ", "\t") << kInitialValues << true;
    QTest::newRow("LF only") << replaced(kInitialFile, "\r\n", "\n") << kInitialValues << true;
    QTest::newRow("one line") << replaced(kInitialFile, "\r\n", "") << kInitialValues << true;
    QTest::newRow("last value without anything after it")
        << replaced(kInitialFile, "100 5 \r\n", "100 5") << kInitialValues << true;
    QTest::newRow("extra whitespace")
        << replaced(replaced(kInitialFile, " ", " \t  "), "\r\n", "\r\n\r\n\n\v\f") << kInitialValues << true;
    QTest::newRow("words after the eighth line ignored") << kInitialFile + "junk 1 2\r\n" << kInitialValues << true;
    QTest::newRow("signs") << replaced(kInitialFile, "16 751", "+16 -751")
                           << QString(kInitialValues).replace("16 751", "16 -751") << true;

    QTest::newRow("empty file") << QByteArray() << firstValuesThenMissing(0) << false;
    QTest::newRow("only whitespace") << QByteArray(" \r\n\t") << firstValuesThenMissing(0) << false;
    QTest::newRow("ends after joint 2") << kInitialFile.left(28) << firstValuesThenMissing(6) << false;
    QTest::newRow("ends after the first address")
        << kInitialFile.left(kInitialFile.indexOf("10001")) << firstValuesThenMissing(16) << false;
    QTest::newRow("cut inside a number") << QByteArray("16 751 22") << firstValuesThenMissing(2) << false;
    QTest::newRow("cut inside an address")
        << kInitialFile.left(kInitialFile.indexOf("168.100.100 10001")) << firstValuesThenMissing(15) << false;
    QTest::newRow("cut inside the last webcam part")
        << replaced(kInitialFile, "100 5 \r\n", "100") << firstValuesThenMissing(21) << false;
    QTest::newRow("channel of joint 3 not a number")
        << replaced(kInitialFile, "18 753", "x8 753") << firstValuesThenMissing(6) << false;
    QTest::newRow("letters glued to the lower limit of joint 2")
        << replaced(kInitialFile, "752 ", "752abc ") << firstValuesThenMissing(4) << false;
    QTest::newRow("upper limit of joint 1 beyond 32 bits")
        << replaced(kInitialFile, "2251", "2147483648") << firstValuesThenMissing(2) << false;
    QTest::newRow("decimal number") << replaced(kInitialFile, "16 ", "16.0 ") << firstValuesThenMissing(0) << false;
    QTest::newRow("lone sign") << replaced(kInitialFile, "16 ", "+ ") << firstValuesThenMissing(0) << false;

    QTest::newRow("empty address shifts the words after it")
        << replaced(kInitialFile, "192.168.100.100 10001", " 10001")
        << "16 751 2251 17 752 2252 18 753 2253 19 754 2254 20 1175 1825 "
           "10001 192.168.100.100 10002 192 168 100 5 -"
        << false;
    QTest::newRow("address with a space shifts the words after it")
        << replaced(kInitialFile, "192.168.100.100 10001", "192.168 .100.100 10001")
        << "16 751 2251 17 752 2252 18 753 2253 19 754 2254 20 1175 1825 "
           "192.168 .100.100 10001 192.168.100.100 10002 192 168 100"
        << true;
}

void TestSettingsFile::parse()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, values);
    QFETCH(bool, complete);
    const SettingsRead read = settings::parseSettings(content.toStdString());
    QCOMPARE(describe(read), values);
    QCOMPARE(read.complete, complete);
}

void TestSettingsFile::everyShortenedFileYieldsItsLeadingValues()
{
    // Cut after each value (with its space): exactly the values before the cut.
    const QList<QByteArray> words = kInitialFile.simplified().split(' ');
    QCOMPARE(words.size(), 23);
    QByteArray content;
    for (int good = 0; good < 23; ++good) {
        const SettingsRead read = settings::parseSettings(content.toStdString());
        QCOMPARE(describe(read), firstValuesThenMissing(good));
        QVERIFY(!read.complete);
        content += words[good] + ' ';
    }
    QVERIFY(settings::parseSettings(content.toStdString()).complete);
}

void TestSettingsFile::writesExactBytes()
{
    const QString path = dir.filePath("STARTW2.stw");
    const std::optional<std::string> error = german(settings::writeSettingsFile(nativePath(path), initialSettings()));
    QVERIFY2(!error, error ? error->c_str() : "");
    QCOMPARE(readBytes(path), kInitialFile);
    QCOMPARE(QDir(dir.path()).entryList({"STARTW2.stw*"}), QStringList{"STARTW2.stw"});
}

void TestSettingsFile::writeAndReadRoundTrip()
{
    Settings values;
    values.joints = {{{0, 500, 2500}, {31, 1000, 1001}, {5, 600, 2400}, {7, 1499, 1501}, {12, 800, 900}}};
    values.links = {{{"10.0.0.1", "4001"}, {"wiport.local", "65535"}}};
    values.webCam = {"0", "7", "99", "255"};
    const QString path = dir.filePath("round-trip.stw");
    QVERIFY(!settings::writeSettingsFile(nativePath(path), values));
    const std::optional<SettingsRead> read = settings::readSettingsFile(nativePath(path));
    QVERIFY(read);
    QVERIFY(read->complete);
    QCOMPARE(describe(*read), QString("0 500 2500 31 1000 1001 5 600 2400 7 1499 1501 12 800 900 "
                                      "10.0.0.1 4001 wiport.local 65535 0 7 99 255"));
}

void TestSettingsFile::writeReplacesOldFile()
{
    const QString path = dir.filePath("replaced.stw");
    QVERIFY(writeBytes(path, QByteArray(5000, 'x')));
    QVERIFY(!settings::writeSettingsFile(nativePath(path), initialSettings()));
    QCOMPARE(readBytes(path), kInitialFile);
}

void TestSettingsFile::writeIntoMissingDirectoryCreatesNothing()
{
    const QString missing = dir.filePath("RFS");
    const std::optional<std::string> error =
        german(settings::writeSettingsFile(nativePath(missing + "/STARTW2.stw"), initialSettings()));
    QVERIFY(error);
    QVERIFY2(error->find(std::strerror(ENOENT)) != std::string::npos, error->c_str());
    QVERIFY(!QFileInfo::exists(missing));
}

void TestSettingsFile::writeBelowRegularFileFails()
{
    const QString notADir = dir.filePath("RFS-file");
    QVERIFY(writeBytes(notADir, "keep"));
    QVERIFY(settings::writeSettingsFile(nativePath(notADir + "/STARTW2.stw"), initialSettings()));
    QCOMPARE(readBytes(notADir), QByteArray("keep"));
}

void TestSettingsFile::writeOnFullDiskKeepsOldFile()
{
    const QString path = dir.filePath("full.stw");
    QVERIFY(writeBytes(path, kInitialFile));
    Settings changed = initialSettings();
    changed.joints[0].kanal = 3;
    std::optional<std::string> error;
    {
        // The write stops after a few bytes, as on a disk that fills up.
        const ResourceLimit fileSize(RLIMIT_FSIZE, 16);
        error = german(settings::writeSettingsFile(nativePath(path), changed));
    }
    QVERIFY(error);
    QVERIFY2(error->find(std::strerror(EFBIG)) != std::string::npos, error->c_str());
    QCOMPARE(readBytes(path), kInitialFile);
    QCOMPARE(QDir(dir.path()).entryList({"full.stw*"}), QStringList{"full.stw"});
}

void TestSettingsFile::readOfMissingFileGivesNothing()
{
    QVERIFY(!settings::readSettingsFile(nativePath(dir.filePath("none.stw"))));
    QVERIFY(!settings::readSettingsFile(nativePath(dir.path())));
}

// A settings name that leads to an endless device or a huge file must not eat
// the memory, and a FIFO without a writer must not hold start-up.
void TestSettingsFile::readOfOddFileGivesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("endless device") << "device";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("one byte over 64 KiB") << "large";
}

void TestSettingsFile::readOfOddFileGivesNothing()
{
    QFETCH(QString, kind);
    const QString path = dir.filePath(kind + ".stw");
    if (kind == "device")
        QVERIFY(QFile::link("/dev/zero", path));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(writeBytes(path, kInitialFile) && QFile::resize(path, 64 * 1024 + 1));
    QVERIFY(!settings::readSettingsFile(nativePath(path)));
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
