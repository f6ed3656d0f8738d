#include "views/webcam_address.h"

#include <QtTest>

class TestWebcamAddress : public QObject {
    Q_OBJECT

private slots:
    void octetCheck_data();
    void octetCheck();
    void defaultAddressIsJoinedByDots();
    void urlCompletesTheDottedAddress();
    void partsAreJoinedInFieldOrder();
};

void TestWebcamAddress::octetCheck_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("zero") << QByteArray("0") << true;
    QTest::newRow("one digit") << QByteArray("7") << true;
    QTest::newRow("two digits") << QByteArray("99") << true;
    QTest::newRow("highest") << QByteArray("255") << true;
    QTest::newRow("leading zeros") << QByteArray("0255") << true;
    QTest::newRow("one too many") << QByteArray("256") << false;
    QTest::newRow("three hundred") << QByteArray("300") << false;
    QTest::newRow("long run of digits") << QByteArray("99999999999999999999") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("letter") << QByteArray("a") << false;
    QTest::newRow("digit and letter") << QByteArray("1a") << false;
    QTest::newRow("minus sign") << QByteArray("-1") << false;
    QTest::newRow("plus sign") << QByteArray("+1") << false;
    QTest::newRow("leading blank") << QByteArray(" 5") << false;
    QTest::newRow("trailing blank") << QByteArray("5 ") << false;
    QTest::newRow("dot") << QByteArray("1.") << false;
}

void TestWebcamAddress::octetCheck()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QCOMPARE(webcam::isValidOctet(text.toStdString()), valid);
}

void TestWebcamAddress::defaultAddressIsJoinedByDots()
{
    QCOMPARE(webcam::dottedAddress({"192", "168", "100", "5"}), std::string("192.168.100.5"));
}

void TestWebcamAddress::urlCompletesTheDottedAddress()
{
    QCOMPARE(webcam::webcamUrl({"192", "168", "100", "5"}), std::string("http://192.168.100.5"));
}

void TestWebcamAddress::partsAreJoinedInFieldOrder()
{
    QCOMPARE(webcam::dottedAddress({"1", "22", "0", "255"}), std::string("1.22.0.255"));
}

QTEST_APPLESS_MAIN(TestWebcamAddress)
#include "test_webcam_address.moc"
