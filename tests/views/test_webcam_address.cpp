#include "views/webcam_address.h"

#include <QtTest>

class TestWebcamAddress : public QObject {
    Q_OBJECT

private slots:
    void octetCheck_data();
    void octetCheck();
    void defaultAddressIsJoinedByDots();
    void urlCompletesTheDottedAddress_data();
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
    QCOMPARE(views::isValidOctet(text.toStdString()), valid);
}

void TestWebcamAddress::defaultAddressIsJoinedByDots()
{
    QCOMPARE(views::dottedAddress({"192", "168", "100", "5"}), std::string("192.168.100.5"));
}

void TestWebcamAddress::urlCompletesTheDottedAddress_data()
{
    QTest::addColumn<QStringList>("octets");
    QTest::addColumn<QString>("url");
    QTest::newRow("default") << QStringList{"192", "168", "100", "5"} << "http://192.168.100.5";
    // Written as typed, "010" would reach the camera at .8 (octal).
    QTest::newRow("leading zeros") << QStringList{"010", "0255", "00", "09"} << "http://10.255.0.9";
}

void TestWebcamAddress::urlCompletesTheDottedAddress()
{
    QFETCH(QStringList, octets);
    QFETCH(QString, url);
    const std::array<std::string, views::kOctets> parts{octets[0].toStdString(), octets[1].toStdString(),
                                                         octets[2].toStdString(), octets[3].toStdString()};
    QCOMPARE(QString::fromStdString(views::webcamUrl(parts)), url);
}

void TestWebcamAddress::partsAreJoinedInFieldOrder()
{
    QCOMPARE(views::dottedAddress({"1", "22", "0", "255"}), std::string("1.22.0.255"));
}

QTEST_APPLESS_MAIN(TestWebcamAddress)
#include "test_webcam_address.moc"
