// Boundaries of the number test, rounding, number writing and the text helpers every check shares.
#include "config/NumberText.h"
#include "config/VxError.h"

#include <QtTest>

using namespace vx;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    // Each row: what is done to the text and the result, or the error number raised. Hex, inf, NaN
    // and the edges of a double are read through the console (tst_FileSafety::hostileCutLists).
    void textAndNumbers_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        auto row = [](const char* name, const char* how, const QString& text, const char* result) {
            QTest::newRow(name) << how << text << result;
        };
        // "read" shows all 17 digits, so a lost digit or a -0 shows.
        row("read: blanks around", "read", "  12.5\t", "12.5");
        row("read: leading point", "read", ".5", "0.5");
        row("read: trailing point", "read", "5.", "5");
        row("read: exponent sign", "read", "25E-1", "2.5");
        row("read: minus zero", "read", "-0", "0");
        row("read: many leading zeros", "read", QString(400, '0') + "12.5", "12.5");
        row("read: empty", "read", "", "none");
        row("read: point only", "read", ".", "none");
        row("read: two points", "read", "1.2.3", "none");
        row("read: comma decimal", "read", "1,5", "none");
        row("read: exponent without digits", "read", "1e", "none");
        row("read: inner blank", "read", "1 2", "none");
        row("whole: half down to even", "whole", "2.5", "2");
        row("whole: half up to even", "whole", "3.5", "4");
        row("whole: largest", "whole", "2147483647", "2147483647");
        row("whole: smallest", "whole", "-2147483648", "-2147483648");
        row("whole: overflow above", "whole", "2147483648", "error 6");
        row("whole: overflow below", "whole", "-2147483649", "error 6");
        row("whole: not a number", "whole", "abc", "error 13");
        row("even: mm to inch", "even 4", "0.39370078740157477", "0.3937");
        row("even: half down", "even 2", "0.125", "0.12");
        row("even: half up", "even 2", "0.375", "0.38");
        row("even: decimal text half", "even 2", "2.675", "2.68");
        row("even: negative", "even 3", "-1.23456", "-1.235");
        row("write: whole", "write", "250", "250");
        row("write: trailing zero dropped", "write", "12.50", "12.5");
        row("write: zero", "write", "0", "0");
        row("write: smallest plain", "write", "-0.0001", "-0.0001");
        row("write: tiny uses exponent", "write", "0.00001", "1E-5");
        row("write: huge uses exponent", "write", "1e15", "1E+15");
        row("write: fifteen digits", "write", "0.30000000000000004", "0.3");
        row("fixed: pads", "fixed 2", "50", "50.00");
        row("fixed: half away from zero", "fixed 2", "0.125", "0.13");
        row("trim: spaces and tabs", "trim", " \t a b \t", "[a b]");
        row("split: empty fields kept", "split ,", "a,,b", "[a][][b]");
        row("split: long delimiter", "split <>", "a<>b", "[a][b]");
        row("split: empty text", "split ,", "", "[]");
        row("no case: equal", "nocase SWITCH_DIMS", "Switch_Dims", "equal");
        row("no case: differ", "nocase abd", "abc", "differ");
    }
    void textAndNumbers()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const std::string t = text.toStdString(), arg = how.section(' ', 1).toStdString();
        const int places = std::atoi(arg.c_str());
        const auto read = ParseNumber(t);
        std::string actual;
        try {
            actual = how == "read"              ? (read ? QString::number(*read, 'g', 17).toStdString() : "none")
                     : how == "whole"           ? std::to_string(ToLong(t))
                     : how == "write"           ? FormatNumber(ToDouble(t))
                     : how.startsWith("even")   ? FormatNumber(RoundHalfEven(ToDouble(t), places))
                     : how.startsWith("fixed")  ? FormatFixed(ToDouble(t), places)
                     : how.startsWith("nocase") ? (EqualsNoCase(t, arg) ? "equal" : "differ")
                                                : "";
            for (const std::string& part : how == "trim"             ? std::vector{TrimBlanks(t)}
                                           : how.startsWith("split") ? SplitText(t, arg)
                                                                     : std::vector<std::string>{})
                actual += "[" + part + "]";
        } catch (const VxError& e) {
            actual = "error " + std::to_string(e.number());
        }
        QCOMPARE(QString::fromStdString(actual), result);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_NumberText.moc"
