#include "toolkit/up_down.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

class TestUpDown : public QObject {
    Q_OBJECT

private slots:
    void codeSetsSilentlyAndTheFieldShowsThePosition();
    void arrowsStepWithinTheRangeAndReport();
    void arrowKeysInTheFieldStep();
    void heldArrowDoesNotRepeatIntoAWaitingHandler();

private:
    static QToolButton *arrow(toolkit::UpDown &upDown, Qt::ArrowType type);
};

QToolButton *TestUpDown::arrow(toolkit::UpDown &upDown, Qt::ArrowType type)
{
    for (QToolButton *button : upDown.findChildren<QToolButton *>()) {
        if (button->arrowType() == type)
            return button;
    }
    return nullptr;
}

void TestUpDown::codeSetsSilentlyAndTheFieldShowsThePosition()
{
    toolkit::UpDown upDown;
    QLineEdit field;
    upDown.setMinimum(500);
    upDown.setMaximum(2500);
    upDown.setBuddy(&field);
    QSignalSpy clicks(&upDown, &toolkit::UpDown::clicked);
    upDown.setPosition(750);
    QCOMPARE(field.text(), QStringLiteral("750"));
    upDown.setPosition(3000);
    QCOMPARE(upDown.position(), 2500);
    QCOMPARE(clicks.size(), 0);
}

void TestUpDown::arrowsStepWithinTheRangeAndReport()
{
    toolkit::UpDown upDown;
    upDown.setMinimum(0);
    upDown.setMaximum(2);
    upDown.resize(18, 21);
    upDown.show();
    QSignalSpy clicks(&upDown, &toolkit::UpDown::clicked);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(arrow(upDown, Qt::UpArrow), Qt::LeftButton);
    // No wrap: the third click stays at the top, and is still reported.
    QCOMPARE(upDown.position(), 2);
    QCOMPARE(clicks.size(), 3);
    QTest::mouseClick(arrow(upDown, Qt::DownArrow), Qt::LeftButton);
    QCOMPARE(upDown.position(), 1);
}

void TestUpDown::arrowKeysInTheFieldStep()
{
    toolkit::UpDown upDown;
    QLineEdit field;
    field.setReadOnly(true);
    upDown.setMaximum(10);
    upDown.setBuddy(&field);
    upDown.setPosition(5);
    QSignalSpy clicks(&upDown, &toolkit::UpDown::clicked);
    QTest::keyClick(&field, Qt::Key_Up);
    QTest::keyClick(&field, Qt::Key_Up);
    QTest::keyClick(&field, Qt::Key_Down);
    QCOMPARE(upDown.position(), 6);
    QCOMPARE(field.text(), QStringLiteral("6"));
    QCOMPARE(clicks.size(), 3);
}

// A refused limit shows a modal box inside the click handler; the held arrow's
// auto-repeat must not enter the handler again from within that box.
void TestUpDown::heldArrowDoesNotRepeatIntoAWaitingHandler()
{
    toolkit::UpDown upDown;
    upDown.setMaximum(100);
    upDown.resize(18, 21);
    upDown.show();
    QToolButton *up = arrow(upDown, Qt::UpArrow);
    int entered = 0;
    int deepest = 0;
    int depth = 0;
    connect(&upDown, &toolkit::UpDown::clicked, this, [&] {
        ++entered;
        deepest = std::max(deepest, ++depth);
        if (entered == 1) {
            QEventLoop box;
            // Long enough for several repeats of a held arrow to fall due.
            QTimer::singleShot(up->autoRepeatDelay() + 5 * up->autoRepeatInterval(), &box, &QEventLoop::quit);
            box.exec();
        }
        --depth;
    });
    // Held down: the repeat enters the handler, which then waits in its "box".
    QTest::mousePress(up, Qt::LeftButton);
    QTRY_COMPARE(entered, 1);
    QTRY_COMPARE(depth, 0);
    QCOMPARE(deepest, 1);
    QVERIFY(!up->isDown());
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(entered, 1);
}

QTEST_MAIN(TestUpDown)
#include "test_up_down.moc"
