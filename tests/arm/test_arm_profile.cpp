#include "arm/arm_profile_file.h"

#include <QtTest>

class TestArmProfile : public QObject {
    Q_OBJECT

private slots:
    void readsBackWhatItWrote();
    void refusals_data();
    void refusals();
};

void TestArmProfile::readsBackWhatItWrote()
{
    arm::ArmProfile written;
    double odd = 0.1;
    for (const arm::ProfileField &field : arm::profileFields())
        field.of(written) += (odd += 0.7) / 3; // keeps lengths positive and the points of a joint apart
    // As another program may hand it over: CR LF, a comment, another group with a key of ours.
    QString text = QStringLiteral("\xEF\xBB\xBF; exported\r\n[other]\r\nupper_arm_mm=1\r\n\r\n")
        + QString::fromStdString(arm::formatProfile(written)).replace("\n", "\r\n").replace("=", " = ");
    arm::ArmProfile read;
    QCOMPARE(arm::parseProfile(text.toStdString(), read).value_or(platform::UiText()).german(), std::string());
    QCOMPARE(arm::formatProfile(read), arm::formatProfile(written));
    for (const arm::ProfileField &field : arm::profileFields())
        QCOMPARE(field.of(read), field.of(written));
}

// The default profile's file with one line changed (or left out, for no value).
void TestArmProfile::refusals_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason");
    const QString none;
    QTest::newRow("missing") << "upper_arm_mm" << none << "Oberarm: fehlt";
    QTest::newRow("missing point") << "handgelenk_point1_us" << none << "Handgelenk Punkt 1 (µs): fehlt";
    QTest::newRow("text") << "forearm_mm" << "abc" << "Unterarm: keine gültige Zahl";
    QTest::newRow("decimal comma") << "hand_mm" << "100,5" << "Hand: keine gültige Zahl";
    QTest::newRow("empty") << "base_height_mm" << "" << "Sockelhöhe: keine gültige Zahl";
    QTest::newRow("infinite") << "hand_mm" << "inf" << "Hand: keine gültige Zahl";
    QTest::newRow("not a number") << "greifer_point1_mm" << "nan" << "Greifer Punkt 1 (mm): keine gültige Zahl";
    QTest::newRow("length 0") << "upper_arm_mm" << "0" << "Oberarm: muss größer als 0 mm sein";
    QTest::newRow("negative length") << "base_height_mm" << "-1" << "Sockelhöhe: muss größer als 0 mm sein";
    QTest::newRow("same pulse width") << "schulter_point2_us" << "1500"
                                      << "Schulter: beide Punkte haben dieselbe Pulsbreite";
    QTest::newRow("same angle") << "basis_point2_deg" << "0" << "Basis: beide Punkte haben denselben Winkel";
    QTest::newRow("same opening") << "greifer_point2_mm" << "30" << "Greifer: beide Punkte haben dieselbe Öffnung";
}

void TestArmProfile::refusals()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    QStringList lines = QString::fromStdString(arm::formatProfile({})).split('\n');
    const int line = lines.indexOf(QRegularExpression("^" + key + "=.*"));
    QVERIFY(line > 0);
    if (value.isNull())
        lines.removeAt(line);
    else
        lines[line] = key + "=" + value;
    arm::ArmProfile kept;
    kept.geometry.hand = 42;
    const std::string before = arm::formatProfile(kept);
    QCOMPARE(QString::fromStdString(arm::parseProfile(lines.join('\n').toStdString(), kept).value_or(platform::UiText()).german()),
             reason);
    QCOMPARE(arm::formatProfile(kept), before);
}

QTEST_APPLESS_MAIN(TestArmProfile)
#include "test_arm_profile.moc"
