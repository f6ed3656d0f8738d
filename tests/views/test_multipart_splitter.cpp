#include "views/multipart_splitter.h"

#include <QtTest>

class TestMultipartSplitter : public QObject {
    Q_OBJECT

private slots:
    void boundaryFromContentType_data();
    void boundaryFromContentType();
    void partsAsTheyArrive_data();
    void partsAsTheyArrive();
};

void TestMultipartSplitter::boundaryFromContentType_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("boundary"); // empty: none
    QTest::newRow("plain") << QByteArray("multipart/x-mixed-replace; boundary=frame") << QByteArray("frame");
    QTest::newRow("quoted, names in capitals") << QByteArray("Multipart/X-Mixed-Replace;BOUNDARY=\"Ab Cd\"")
                                                << QByteArray("Ab Cd");
    QTest::newRow("after another parameter") << QByteArray("multipart/x-mixed-replace; charset=x; boundary=--b")
                                              << QByteArray("--b");
    QTest::newRow("no boundary") << QByteArray("multipart/x-mixed-replace") << QByteArray();
    QTest::newRow("empty boundary") << QByteArray("multipart/x-mixed-replace; boundary=\"\"") << QByteArray();
    QTest::newRow("not multipart") << QByteArray("image/jpeg; boundary=frame") << QByteArray();
}

void TestMultipartSplitter::boundaryFromContentType()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, boundary);
    const std::optional<std::string> found = views::multipartBoundary(contentType.toStdString());
    QCOMPARE(found.has_value(), !boundary.isEmpty());
    if (found)
        QCOMPARE(QByteArray::fromStdString(*found), boundary);
}

void TestMultipartSplitter::partsAsTheyArrive_data()
{
    QTest::addColumn<QByteArray>("boundary");
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QByteArray>>("parts");
    QTest::addColumn<int>("dropped");
    const QByteArray part1 = "--frame\r\nContent-Type: image/jpeg\r\nContent-Length: 4\r\n\r\nAB\r\n\r\n";
    const QByteArray part2 = "--frame\r\nContent-Type: image/jpeg\r\n\r\nxyz\r\n";
    QTest::newRow("with and without length") << QByteArray("frame") << part1 + part2 + "--frame\r\n"
                                             << QList<QByteArray>{"AB\r\n", "xyz"} << 0;
    QTest::newRow("preamble and bare line feeds") << QByteArray("frame")
                                                  << QByteArray("junk\n--frame\nContent-Length: 2\n\nhi\n--frame\n\nho\n--frame")
                                                  << QList<QByteArray>{"hi", "ho"} << 0;
    QTest::newRow("boundary announced with its dashes") << QByteArray("--frame") << part2 + "--frame"
                                                        << QList<QByteArray>{"xyz"} << 0;
    QTest::newRow("truncated last part") << QByteArray("frame") << part2 + "--frame\r\nContent-Length: 9\r\n\r\nabc"
                                         << QList<QByteArray>{"xyz"} << 0;
    QTest::newRow("closing delimiter ends the stream") << QByteArray("frame") << part2 + "--frame--\r\n" + part2 + "--frame"
                                                       << QList<QByteArray>{"xyz"} << 0;
    QTest::newRow("no delimiter at all") << QByteArray("frame") << QByteArray(100, 'x') << QList<QByteArray>{} << 0;
    QTest::newRow("bad length: ends at the delimiter") << QByteArray("frame")
                                                       << QByteArray("--frame\r\nContent-Length: 4x\r\n\r\nab\r\n--frame")
                                                       << QList<QByteArray>{"ab"} << 0;
    // The limit in these rows is 64 bytes.
    QTest::newRow("length over the limit") << QByteArray("frame")
                                           << "--frame\r\nContent-Length: 100\r\n\r\n" + QByteArray(100, 'j') + part2 + "--frame"
                                           << QList<QByteArray>{"xyz"} << 1;
    QTest::newRow("huge part without length") << QByteArray("frame") << "--frame\r\n\r\n" + QByteArray(4000, 'j') + "\r\n" + part2 + "--frame"
                                              << QList<QByteArray>{"xyz"} << 1;
    QTest::newRow("endless header line") << QByteArray("frame") << "--frame\r\nX: " + QByteArray(200, 'h') + "\r\n\r\nq\r\n" + part2 + "--frame"
                                         << QList<QByteArray>{"xyz"} << 1;
}

// Whole, and again byte by byte: how the bytes are cut must not matter.
void TestMultipartSplitter::partsAsTheyArrive()
{
    QFETCH(QByteArray, boundary);
    QFETCH(QByteArray, stream);
    QFETCH(QList<QByteArray>, parts);
    QFETCH(int, dropped);
    for (const int chunk : {int(stream.size()), 1}) {
        views::MultipartSplitter splitter(boundary.toStdString(), 64);
        QList<QByteArray> found;
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            for (const std::string &part : splitter.feed(stream.mid(at, chunk).toStdString()))
                found << QByteArray::fromStdString(part);
        QCOMPARE(found, parts);
        QCOMPARE(int(splitter.droppedParts()), dropped);
    }
}

QTEST_APPLESS_MAIN(TestMultipartSplitter)
#include "test_multipart_splitter.moc"
