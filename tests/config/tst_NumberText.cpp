// The general number test, whole-number rounding and number writing are shared by every
// check in the program, so their boundaries are tested here once.
#include "config/NumberText.h"
#include "config/VxError.h"

#include <QtTest>

#include <cmath>

using namespace vx;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void numberTest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << true << 12.0;
        QTest::newRow("blanks around") << "  12.5\t" << true << 12.5;
        QTest::newRow("sign") << "-3" << true << -3.0;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("exponent") << "1.5e3" << true << 1500.0;
        QTest::newRow("exponent sign") << "25E-1" << true << 2.5;
        QTest::newRow("minus zero") << "-0" << true << 0.0;
        // Hex, inf, NaN and the edges of a double are checked through the console (tst_HostileCutLists).
        QTest::newRow("many leading zeros") << QString(400, '0') + "12.5" << true << 12.5;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("comma decimal") << "1,5" << false << 0.0;
        QTest::newRow("exponent without digits") << "1e" << false << 0.0;
        QTest::newRow("unit suffix") << "12mm" << false << 0.0;
        QTest::newRow("inner blank") << "1 2" << false << 0.0;
    }
    void numberTest()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        auto parsed = ParseNumber(text.toStdString());
        QCOMPARE(parsed.has_value(), numeric);
        if (numeric) {
            QCOMPARE(*parsed, value);
            QVERIFY(!std::signbit(*parsed) || *parsed != 0.0);
        }
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("half down to even") << 2.5 << 2;
        QTest::newRow("half up to even") << 3.5 << 4;
        QTest::newRow("negative half") << -2.5 << -2;
        QTest::newRow("above half") << 2.7 << 3;
        QTest::newRow("largest") << 2147483647.0 << 2147483647;
        QTest::newRow("smallest") << -2147483648.0 << int(-2147483648LL);
    }
    void wholeNumbers()
    {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(RoundToLong(value), rounded);
    }

    void wholeNumberOverflow()
    {
        for (double v : {2147483648.0, -2147483649.0, 1e308}) {
            try {
                RoundToLong(v);
                QFAIL("expected overflow");
            } catch (const VxError& e) {
                QCOMPARE(e.number(), 6);
            }
        }
        QVERIFY_THROWS_EXCEPTION(VxError, ToLong("abc"));
    }

    void decimalRounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("expected");
        QTest::newRow("inch to mm") << 25.4 * 1.0 << 3 << 25.4;
        QTest::newRow("mm to inch") << 10.0 / 25.4 << 4 << 0.3937;
        QTest::newRow("half to even down") << 0.125 << 2 << 0.12;
        QTest::newRow("half to even up") << 0.375 << 2 << 0.38;
        QTest::newRow("decimal text half") << 2.675 << 2 << 2.68;
        QTest::newRow("negative") << -1.23456 << 3 << -1.235;
    }
    void decimalRounding()
    {
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(double, expected);
        QCOMPARE(RoundHalfEven(value, places), expected);
    }

    void writtenNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 254.0 << "254";
        QTest::newRow("trailing zero dropped") << 12.5 << "12.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative") << -3.25 << "-3.25";
        QTest::newRow("smallest plain") << 0.0001 << "0.0001";
        QTest::newRow("tiny uses exponent") << 0.00001 << "1E-5";
        QTest::newRow("huge uses exponent") << 1e15 << "1E+15";
        QTest::newRow("fifteen digits") << 0.1 + 0.2 << "0.3";
    }
    void writtenNumbers()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(FormatNumber(value)), text);
    }

    void fixedDecimals()
    {
        QCOMPARE(FormatFixed(50, 2), std::string("50.00"));
        QCOMPARE(FormatFixed(466.666666, 2), std::string("466.67"));
        QCOMPARE(FormatFixed(0.125, 2), std::string("0.13")); // halves away from zero
        QCOMPARE(FormatFixed(0.5, 2), std::string("0.50"));
    }

    void textHelpers()
    {
        QCOMPARE(TrimBlanks(" \t a b \t"), std::string("a b"));
        QVERIFY(EqualsNoCase("Switch_Dims", "SWITCH_DIMS"));
        QVERIFY(!EqualsNoCase("abc", "abd"));
        QCOMPARE(SplitText("a,,b", ",").size(), size_t(3));
        QCOMPARE(SplitText("a<>b", "<>").back(), std::string("b"));
        QCOMPARE(SplitText("", ",").size(), size_t(1));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_NumberText.moc"
