#include "sequence/motion_set_file.h"
#include "sequence/step_line.h"
#include "support/file_bytes.h"
#include "support/resource_limit.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The message as the German console shows it.
std::optional<std::string> german(const std::optional<platform::UiText> &message)
{
    return message ? std::optional(message->german()) : std::nullopt;
}

QStringList listOf(const std::vector<std::string> &lines)
{
    QStringList list;
    for (const std::string &line : lines)
        list << QString::fromLatin1(line.data(), int(line.size()));
    return list;
}

std::vector<std::string> stepsOf(const QStringList &list)
{
    std::vector<std::string> steps;
    for (const QString &line : list)
        steps.push_back(line.toLatin1().toStdString());
    return steps;
}

const QByteArray kOldContent = "1 2 3 4 5 6 7 8 9 10 \r\n";
const QStringList kSteps{"0 1500 0 1500 0 1500 0 1500 0 1500 ", "", "-5 900 7 2500 0 0 0 0 0 1 "};
const QByteArray kStepsFile = "0 1500 0 1500 0 1500 0 1500 0 1500 \r\n\r\n-5 900 7 2500 0 0 0 0 0 1 \r\n";
constexpr qint64 kSixteenMebibytes = 16 * 1024 * 1024;

// The names in directory that start with name: the file itself and any temporary
// a save left beside it.
QStringList namesStartingWith(const QString &directory, const QString &name)
{
    return QDir(directory).entryList({name + '*'},
                                     QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

mode_t modeOf(const QString &path)
{
    struct stat status {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

} // namespace

class TestMotionSetFile : public QObject {
    Q_OBJECT

private slots:
    void loadsLines_data();
    void loadsLines();
    void loadsEveryByteValue();
    void loadsTenMegabyteLine();
    void loadsHundredThousandLines();
    void loadsUpToTheLargestMotionSet();
    void loadOfMissingFileNamesFileAndReasonAndKeepsSteps();
    void loadOfOddFileFailsAndKeepsSteps_data();
    void loadOfOddFileFailsAndKeepsSteps();
    void storesEachLineWithCrLf();
    void storesEmptyListAsEmptyFile();
    void storeReplacesOldFile();
    void storeAndLoadRoundTrip();
    void storeIntoMissingDirectoryCreatesNothing();
    void storeBelowRegularFileFails();
    void storeOnFullDiskKeepsOldFile();
    void storeOverDirectoryFailsAndLeavesNoTemporary();
    void storeWritesThroughLinkKeepsModeAndSparesUsersFiles();
    void storeIntoReadOnlyPlaceKeepsOldFile_data();
    void storeIntoReadOnlyPlaceKeepsOldFile();

private:
    QTemporaryDir dir;
};

void TestMotionSetFile::loadsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("CR LF") << QByteArray("a 1\r\nb 2\r\n") << QStringList{"a 1", "b 2"};
    QTest::newRow("LF only") << QByteArray("a 1\nb 2\n") << QStringList{"a 1", "b 2"};
    QTest::newRow("CR only") << QByteArray("a 1\rb 2\r") << QStringList{"a 1", "b 2"};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("no final line end") << QByteArray("a 1\r\nb 2") << QStringList{"a 1", "b 2"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("empty line in the middle") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF is two line ends") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("spaces kept verbatim") << QByteArray("  1  2 \t\r\n") << QStringList{"  1  2 \t"};
}

void TestMotionSetFile::loadsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, steps);
    const QString path = dir.filePath("lines.rfs");
    QVERIFY(writeBytes(path, content));
    std::vector<std::string> loaded{"left from before"};
    const std::optional<std::string> error = german(sequence::loadMotionSet(nativePath(path), loaded));
    QVERIFY2(!error, error ? error->c_str() : "");
    QCOMPARE(listOf(loaded), steps);
}

void TestMotionSetFile::loadsEveryByteValue()
{
    QByteArray content;
    for (int round = 0; round < 3; ++round)
        for (int value = 0; value < 256; ++value)
            content.append(char(value));
    const QString path = dir.filePath("garbage.rfs");
    QVERIFY(writeBytes(path, content));
    std::vector<std::string> loaded;
    QVERIFY(!sequence::loadMotionSet(nativePath(path), loaded));
    // Per round: bytes 0-9 | LF | 11-12 | CR | 14-255; the next round's 0-9 joins the 14-255.
    QCOMPARE(loaded.size(), size_t(7));
    QCOMPARE(loaded.front(), content.left(10).toStdString());
    QCOMPARE(loaded[1], std::string("\x0b\x0c"));
    QCOMPARE(loaded[2].size(), size_t(242 + 10));
    // A NUL byte cannot start a number.
    QCOMPARE(sequence::readStepLine(loaded.front()), sequence::StepValues{});
}

void TestMotionSetFile::loadsTenMegabyteLine()
{
    const QString path = dir.filePath("long.rfs");
    QVERIFY(writeBytes(path, QByteArray(10 * 1024 * 1024, '7') + "\r\n1 2\r\n"));
    std::vector<std::string> loaded;
    QVERIFY(!sequence::loadMotionSet(nativePath(path), loaded));
    QCOMPARE(loaded.size(), size_t(2));
    QCOMPARE(loaded[0].size(), size_t(10 * 1024 * 1024));
    QCOMPARE(sequence::readStepLine(loaded[0]), sequence::StepValues{});
    QCOMPARE(loaded[1], std::string("1 2"));
}

void TestMotionSetFile::loadsHundredThousandLines()
{
    QByteArray content;
    for (int i = 0; i < 100000; ++i)
        content += QByteArray::number(i) + " 1500 0 1500 0 1500 0 1500 0 1500 \r\n";
    const QString path = dir.filePath("many.rfs");
    QVERIFY(writeBytes(path, content));
    std::vector<std::string> loaded;
    QVERIFY(!sequence::loadMotionSet(nativePath(path), loaded));
    QCOMPARE(loaded.size(), size_t(100000));
    QCOMPARE(sequence::readStepLine(loaded.back())[0], 99999);
}

void TestMotionSetFile::loadsUpToTheLargestMotionSet()
{
    const QString path = dir.filePath("largest.rfs");
    QVERIFY(writeBytes(path, "1 2\r\n") && QFile::resize(path, kSixteenMebibytes));
    std::vector<std::string> loaded;
    QVERIFY(!sequence::loadMotionSet(nativePath(path), loaded));
    QCOMPARE(loaded.size(), size_t(2));
    QCOMPARE(loaded[1].size(), size_t(kSixteenMebibytes - 5));
}

void TestMotionSetFile::loadOfMissingFileNamesFileAndReasonAndKeepsSteps()
{
    const QString path = dir.filePath("missing.rfs");
    std::vector<std::string> steps = stepsOf(kSteps);
    const std::optional<std::string> error = german(sequence::loadMotionSet(nativePath(path), steps));
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY2(error->find(std::strerror(ENOENT)) != std::string::npos, error->c_str());
    QCOMPARE(listOf(steps), kSteps);
}

// Refused before a byte is read: a FIFO without a writer would block for ever,
// a device or an oversized file would fill the memory.
void TestMotionSetFile::loadOfOddFileFailsAndKeepsSteps_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << "directory" << "keine gewöhnliche Datei";
    QTest::newRow("FIFO") << "fifo" << "keine gewöhnliche Datei";
    QTest::newRow("endless device") << "device" << "keine gewöhnliche Datei";
    QTest::newRow("one byte too large") << "large" << "Die Datei ist zu groß.";
}

void TestMotionSetFile::loadOfOddFileFailsAndKeepsSteps()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = dir.filePath(kind + ".rfs");
    if (kind == "directory")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "device")
        QVERIFY(QFile::link("/dev/zero", path));
    else
        QVERIFY(writeBytes(path, {}) && QFile::resize(path, kSixteenMebibytes + 1));
    std::vector<std::string> steps = stepsOf(kSteps);
    const std::optional<std::string> error = german(sequence::loadMotionSet(nativePath(path), steps));
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY2(QString::fromStdString(*error).endsWith(reason), error->c_str());
    QCOMPARE(listOf(steps), kSteps);
}

void TestMotionSetFile::storesEachLineWithCrLf()
{
    const QString path = dir.filePath("stored.rfs");
    QVERIFY(!sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    QCOMPARE(readBytes(path), kStepsFile);
    QCOMPARE(namesStartingWith(dir.path(), "stored.rfs"), QStringList{"stored.rfs"});
}

void TestMotionSetFile::storesEmptyListAsEmptyFile()
{
    const QString path = dir.filePath("empty.rfs");
    QVERIFY(writeBytes(path, kOldContent));
    QVERIFY(!sequence::storeMotionSet(nativePath(path), {}));
    QVERIFY(QFile::exists(path));
    QCOMPARE(readBytes(path), QByteArray());
}

void TestMotionSetFile::storeReplacesOldFile()
{
    const QString path = dir.filePath("replaced.rfs");
    QVERIFY(writeBytes(path, kOldContent + kOldContent + kOldContent));
    QVERIFY(!sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    QCOMPARE(readBytes(path), kStepsFile);
}

void TestMotionSetFile::storeAndLoadRoundTrip()
{
    const QString path = dir.filePath("round trip.rfs");
    QVERIFY(!sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    std::vector<std::string> loaded;
    QVERIFY(!sequence::loadMotionSet(nativePath(path), loaded));
    QCOMPARE(listOf(loaded), kSteps);
}

void TestMotionSetFile::storeIntoMissingDirectoryCreatesNothing()
{
    const QString missingDir = dir.filePath("RFS");
    const QString path = missingDir + "/set.rfs";
    const std::optional<std::string> error = german(sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY2(error->find(std::strerror(ENOENT)) != std::string::npos, error->c_str());
    QVERIFY(!QFileInfo::exists(missingDir));
}

void TestMotionSetFile::storeBelowRegularFileFails()
{
    const QString notADir = dir.filePath("plain-file");
    QVERIFY(writeBytes(notADir, kOldContent));
    const std::optional<std::string> error =
        german(sequence::storeMotionSet(nativePath(notADir + "/set.rfs"), stepsOf(kSteps)));
    QVERIFY(error);
    QVERIFY2(error->find(std::strerror(ENOTDIR)) != std::string::npos, error->c_str());
    QCOMPARE(readBytes(notADir), kOldContent);
}

void TestMotionSetFile::storeOnFullDiskKeepsOldFile()
{
    const QString path = dir.filePath("full.rfs");
    QVERIFY(writeBytes(path, kOldContent));
    std::optional<std::string> error;
    {
        // The write stops after a few bytes, as on a disk that fills up.
        const ResourceLimit fileSize(RLIMIT_FSIZE, 16);
        error = german(sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    }
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY2(error->find(std::strerror(EFBIG)) != std::string::npos, error->c_str());
    QCOMPARE(readBytes(path), kOldContent);
    QCOMPARE(namesStartingWith(dir.path(), "full.rfs"), QStringList{"full.rfs"});
}

void TestMotionSetFile::storeOverDirectoryFailsAndLeavesNoTemporary()
{
    const QString path = dir.filePath("occupied.rfs");
    QVERIFY(QDir().mkpath(path + "/inside"));
    const std::optional<std::string> error = german(sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(namesStartingWith(dir.path(), "occupied.rfs"), QStringList{"occupied.rfs"});
}

// A save must not turn a link into a plain file, reset the mode the user gave
// the file, or take over a file of the user's that has a temporary-looking name.
void TestMotionSetFile::storeWritesThroughLinkKeepsModeAndSparesUsersFiles()
{
    const QString place = dir.filePath("linked");
    QVERIFY(QDir().mkpath(place));
    const QString target = place + "/target.rfs";
    const QString link = place + "/link.rfs";
    QVERIFY(writeBytes(target, kOldContent));
    QCOMPARE(chmod(QFile::encodeName(target).constData(), 0640), 0);
    QVERIFY(QFile::link(target, link));
    QVERIFY(writeBytes(link + ".tmp", "the user's own"));
    QVERIFY(!sequence::storeMotionSet(nativePath(link), stepsOf(kSteps)));
    QCOMPARE(readBytes(target), kStepsFile);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(modeOf(target), mode_t(0640));
    QCOMPARE(readBytes(link + ".tmp"), QByteArray("the user's own"));
    QCOMPARE(namesStartingWith(place, ""), (QStringList{"link.rfs", "link.rfs.tmp", "target.rfs"}));
}

void TestMotionSetFile::storeIntoReadOnlyPlaceKeepsOldFile_data()
{
    QTest::addColumn<bool>("protectFile");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only directory") << false << QString::fromLocal8Bit(std::strerror(EACCES));
    QTest::newRow("write-protected file") << true << "not writable";
}

void TestMotionSetFile::storeIntoReadOnlyPlaceKeepsOldFile()
{
    QFETCH(bool, protectFile);
    QFETCH(QString, reason);
    if (geteuid() == 0)
        QSKIP("permissions do not bind root");
    const QString readOnly = dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(readOnly));
    const QString path = readOnly + "/set.rfs";
    QVERIFY(writeBytes(path, kOldContent));
    QVERIFY(QFile::setPermissions(protectFile ? path : readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const std::optional<std::string> error = german(sequence::storeMotionSet(nativePath(path), stepsOf(kSteps)));
    QVERIFY(error);
    QVERIFY2(error->find(nativePath(path)) != std::string::npos, error->c_str());
    QVERIFY2(QString::fromStdString(*error).contains(reason), error->c_str());
    QCOMPARE(readBytes(path), kOldContent);
}

QTEST_APPLESS_MAIN(TestMotionSetFile)
#include "test_motion_set_file.moc"
