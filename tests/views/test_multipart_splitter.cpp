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
    using Parts = QList<QByteArray>;
    QTest::addColumn<QByteArray>("boundary");
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<Parts>("parts");
    QTest::addColumn<int>("dropped");
    const QByteArray sized = "--frame\r\nContent-Type: image/jpeg\r\nContent-Length: 4\r\n\r\nAB\r\n\r\n";
    const QByteArray open = "--frame\r\nContent-Type: image/jpeg\r\n\r\nxyz\r\n";
    const auto row = [](const char *name, const QByteArray &boundary, const QByteArray &stream, const Parts &parts,
                        int dropped = 0) { QTest::newRow(name) << boundary << stream << parts << dropped; };
    row("with and without length", "frame", sized + open + "--frame\r\n", {"AB\r\n", "xyz"});
    row("preamble, bare line feeds", "frame", "junk\n--frame\nContent-Length: 2\n\nhi\n--frame\n\nho\n--frame", {"hi", "ho"});
    row("boundary announced with its dashes", "--frame", open + "--frame", {"xyz"});
    row("truncated last part", "frame", open + "--frame\r\nContent-Length: 9\r\n\r\nabc", {"xyz"});
    row("closing delimiter ends the stream", "frame", open + "--frame--\r\n" + open + "--frame", {"xyz"});
    row("no delimiter at all", "frame", QByteArray(100, 'x'), {});
    row("bad length: ends at the delimiter", "frame", "--frame\r\nContent-Length: 4x\r\n\r\nab\r\n--frame", {"ab"});
    // The limit is 64 bytes.
    row("length over the limit", "frame", "--frame\r\nContent-Length: 100\r\n\r\n" + QByteArray(100, 'j') + open + "--frame",
        {"xyz"}, 1);
    row("huge part without length", "frame", "--frame\r\n\r\n" + QByteArray(4000, 'j') + "\r\n" + open + "--frame", {"xyz"}, 1);
    row("endless header line", "frame", "--frame\r\nX: " + QByteArray(200, 'h') + "\r\n\r\nq\r\n" + open + "--frame", {"xyz"}, 1);
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
