#include "shared/SysmsgText.h"
#include "shared/MulDiv.h"

#include <QTest>

class TestSysmsgText : public QObject {
    Q_OBJECT
private slots:
    void zeroPadNumber_data();
    void zeroPadNumber();
    void mulDiv_data();
    void mulDiv();
    void trimBlanks();
    void ifThenText();
};

void TestSysmsgText::zeroPadNumber_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded") << 5 << false << qint64(42) << "00042";
    QTest::newRow("exact width") << 2 << true << qint64(42) << "42";
    QTest::newRow("longer kept") << 2 << false << qint64(12345) << "12345";
    QTest::newRow("longer cut to last") << 2 << true << qint64(12345) << "45";
    QTest::newRow("width 0 cut") << 0 << true << qint64(7) << "";
    QTest::newRow("negative width cut") << -3 << true << qint64(7) << "";
    QTest::newRow("width 0 kept") << 0 << false << qint64(7) << "7";
    QTest::newRow("64-bit value") << 20 << false << qint64(9007199254740993)
                                  << "00009007199254740993";
}

void TestSysmsgText::zeroPadNumber()
{
    QFETCH(int, width);
    QFETCH(bool, cut);
    QFETCH(qint64, value);
    QFETCH(QString, expected);
    QCOMPARE(ZeroPadNumber(width, cut, value), expected);
}

void TestSysmsgText::mulDiv_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("exact") << 8 << 6 << 4 << 12;
    QTest::newRow("half up") << 50 << 7 << 4 << 88;         // 87.5
    QTest::newRow("below half") << 10 << 13 << 8 << 16;     // 16.25
    QTest::newRow("above half") << 14 << 13 << 8 << 23;     // 22.75
    QTest::newRow("negative half") << -50 << 7 << 4 << -88; // -87.5 away from zero
    QTest::newRow("negative divisor") << 1 << 1 << -2 << -1;
    QTest::newRow("no 32-bit overflow") << 2000000000 << 3 << 4 << 1500000000;
    QTest::newRow("divide by zero") << 3 << 4 << 0 << -1;
}

void TestSysmsgText::mulDiv()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(MulDiv(a, b, c), expected);
}

void TestSysmsgText::trimBlanks()
{
    QCOMPARE(TrimBlanks(QStringLiteral(" \t\r\n 2 5\x01 ")), QStringLiteral("2 5"));
    QCOMPARE(TrimBlanks(QStringLiteral("\t \n")), QString());
    QCOMPARE(TrimBlanks(QStringLiteral("　全角")), QStringLiteral("　全角")); // not a blank
}

void TestSysmsgText::ifThenText()
{
    QCOMPARE(IfThenText(true, "a", "b"), QStringLiteral("a"));
    QCOMPARE(IfThenText(false, "a", "b"), QStringLiteral("b"));
}

QTEST_GUILESS_MAIN(TestSysmsgText)
#include "SysmsgTextTest.moc"
