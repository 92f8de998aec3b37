// The value check of one field and the text operations of the conversion: scribe and
// space-ball lists, field splitting and the file name value.
#include "convert/DelimitedFields.h"
#include "convert/PartsFileReader.h"
#include "convert/RowValidation.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

#include <QtTest>

using namespace vx;

class TestValueChecks : public QObject {
    Q_OBJECT
private slots:
    // Each row: the field's {name, value, data type} at a column of a row with this many
    // columns, and the message (empty: accepted).
    void check_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("field");
        QTest::addColumn<QString>("message");
        auto add = [](const char* name, int column, int columns, const char* field, const char* message) {
            QTest::newRow(name) << column << columns << QString(field).split('|') << QString(message);
        };
        add("column missing", 7, 5, "UF_1||TEXT",
            "CAB is mapped to column 7, but the column does not exist in this row. ");
        add("width 0", 2, 4, "WIDTH|0|DOUBLE", "The data in column 2 for CAB must be > 0. ");
        add("length negative", 3, 4, "length|-1|double", "The data in column 3 for CAB must be > 0. ");
        add("width text", 2, 4, "WIDTH|abc|DOUBLE", "The data in column 2 for CAB can not be evaluated as a number. ");
        add("thickness 0", 2, 4, "THICKNESS|0|DOUBLE", "");
        add("thickness -1", 2, 4, "THICKNESS|-1|DOUBLE", "The data in column 2 for CAB must be >= 0. ");
        add("other double negative", 2, 4, "UF_2|-1|DOUBLE", "");
        add("long -2", 4, 4, "QUANTITY|-2|LONG", "The data in column 4 for CAB must be >=0. ");
        add("long 3.5", 4, 4, "QUANTITY|3.5|LONG", "");
        add("long -0.4 rounds to 0", 4, 4, "QUANTITY|-0.4|LONG", "");
        add("long text", 4, 4, "SEQ_NUM|x1|LONG", "The data in column 4 for CAB can not be evaluated as a number. ");
        add("part empty", 1, 4, "PART||TEXT", "There was no CAB data in column 1. ");
        add("other text empty", 1, 4, "MATERIAL||TEXT", "");
    }
    void check()
    {
        QFETCH(int, column);
        QFETCH(int, columns);
        QFETCH(QStringList, field);
        QFETCH(QString, message);
        std::string error;
        bool ok = CheckForValidData(column, columns, field[0].toStdString(), field[1].toStdString(),
                                    field[2].toStdString(), error, "CAB");
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(QString::fromStdString(error), message);
    }

    // Each row: the operation, its text, the part length and the result. The list checks
    // give their message ("" when the list is fine); "balls" uses the thresholds 800 and
    // 1200, "balls2" none; "extra" checks the two thresholds "3|4" and gives "ok: " and
    // the texts kept, or the message; "split" shows the fields joined with "|" ("!": a
    // quote does not close).
    void lists_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("expected");
        auto add = [](const char* name, const char* operation, const char* text, double length, const char* expected) {
            QTest::newRow(name) << QString(operation) << QString(text) << length << QString(expected);
        };
        add("to mm: negative dropped", "mm", "-5|5", 0, "127");
        add("to mm: blank list", "mm", "  ", 0, "");
        add("rounded half to even", "round4", "0.00125", 0, "0.0012");
        add("zeros removed", "zeros", "0|12|0|30", 0, "12|30");
        add("single zero stays", "zeros", "0", 0, "0");
        add("only zeros", "zeros", "0|0", 0, "");
        add("text entry kept for the check", "zeros", "12|abc|0", 0, "12|abc");
        add("end scribe within 0.3", "removeEnd", "40|59.8", 100, "40");
        add("end scribe inside", "removeEnd", "40|59", 100, "40|59");
        add("end scribe beyond the end", "removeEnd", "60|50", 100, "60");
        add("single entry kept", "removeEnd", "100", 100, "100");
        add("add: sum below 0.2", "addEnd", "0.1", 100, "0.1");
        add("add: gap below 0.3", "addEnd", "99.8", 100, "99.8");
        add("add: gap rounded", "addEnd", "20|30.00049", 100, "20|30.00049|50");
        add("add: beyond the end", "addEnd", "150", 100, "150");
        add("add: empty", "addEnd", "", 100, "");
        add("reverse", "reverse", "1|2|3", 0, "3|2|1");
        add("mirror single", "mirror", "25", 100, "75");
        add("empty scribes", "scribeCheck", "", 10, "");
        add("exactly the length", "scribeCheck", "50|50", 100, "");
        add("just beyond", "scribeCheck", "50|50.01", 100,
            "The last absolute Scribe position (sum of incremental positions) exceeds the part length.");
        add("text after a long entry", "scribeCheck", "200|abc", 100,
            "A Scribe Location can not be evaluated as a number.");
        add("negative", "scribeCheck", "10|-1", 100, "A Scribe Location value is < 0.");
        add("empty space balls", "ballCheck", " ", 10, "");
        add("space ball text", "ballCheck", "x", 100, "A Space Ball location can not be evaluated as a number.");
        add("space ball negative", "ballCheck", "-2", 100, "A Space Ball location is < 0.");
        add("space balls beyond", "ballCheck", "60|60", 100,
            "The last absolute Space Ball position (sum of incremental positions) exceeds the part length.");
        add("thresholds empty", "extra", "|  ", 0, "ok: |");
        add("thresholds normalised", "extra", " 800.50 |1200", 0, "ok: 800.5|1200");
        add("three only, four empty", "extra", "800|", 0, "ok: 800|");
        add("threshold text", "extra", "abc|", 0,
            "Length given for extra space balls can not be evaluated as a number, please re-enter.");
        add("threshold negative", "extra", "|-1", 0,
            "Length given for extra space balls must be >=0 , please re-enter.");
        add("four balls from the 4-ball length on", "balls", "50", 1200, "50.00|366.67|366.67|366.67");
        add("two balls without thresholds", "balls2", "50", 1500, "50.00|1400.00");
        add("two balls below the 3-ball length", "balls", "2.5", 700, "2.50|695.00");
        add("no location", "balls", "0", 1000, "");
        add("location at the middle", "balls2", "50", 100, "");
        add("leading zero", "balls2", "0.5", 10, "0.50|9.00");
        add("closing quote", "split", "\"Side\",1", 0, "Side|1");
        add("delimiter inside", "split", "\"Left, Right\",2", 0, "Left, Right|2");
        add("doubled quotes", "split", "\"29-1/16\"\"\",\"\"\"\"", 0, "29-1/16\"|\"");
        add("blank before the quote, text after", "split", "a, \"b,c\" x,d", 0, "a|b,c x|d");
        add("empty quoted field last", "split", "a,\"\"", 0, "a|");
        add("unclosed quote", "split", "a,\"b,c", 0, "!");
        add("quote inside a plain field", "split", "3/4\" ply,1", 0, "3/4\" ply|1");
        add("option off splits inside quotes", "splitOff", "\"Left, Right\",2", 0, "\"Left| Right\"|2");
        add("file name: three-letter extension", "fileName", "job12.csv", 0, "job12");
        add("file name: long extension kept", "fileName", "job12.data", 0, "job12.data");
        add("file name: too short", "fileName", ".csv", 0, ".csv");
        add("file name: trimmed", "fileName", " a.txt ", 0, "a");
    }
    void lists()
    {
        QFETCH(QString, operation);
        QFETCH(QString, text);
        QFETCH(double, length);
        QFETCH(QString, expected);
        const std::string l = text.toStdString();
        std::string result;
        if (operation == "mm" || operation == "round4") {
            result = operation == "mm" ? ConvertScribeUnits(l, 25.4, 3) : ConvertScribeUnits(l, 1.0, 4);
        } else if (operation == "zeros") {
            result = RemoveZeros(l);
        } else if (operation == "removeEnd") {
            result = CheckForRemoveEndScribe(l, length);
        } else if (operation == "addEnd") {
            result = CheckForAddEndScribe(l, length);
        } else if (operation == "reverse") {
            result = ReverseTheScribes(l);
        } else if (operation == "mirror") {
            result = MirrorScribes(l, length);
        } else if (operation.endsWith("Check")) {
            bool flag = false;
            result = "stale";
            (operation == "scribeCheck" ? CheckScribeList : CheckSpaceBallList)(l, flag, result, length);
            QCOMPARE(flag, !result.empty());
        } else if (operation == "extra") {
            const QStringList entered = text.split('|');
            std::array<std::string, 2> t{entered[0].toStdString(), entered[1].toStdString()};
            std::array<double, 2> lengths{};
            const bool ok = CheckExtraSpaceBalls(t, lengths, result);
            QCOMPARE(ok, result.empty());
            if (ok)
                result = "ok: " + t[0] + "|" + t[1];
        } else if (operation.startsWith("balls")) {
            const double none = kNoExtraSpaceBallLength;
            result = CalculateSpaceBalls(length, text.toDouble(),
                                         operation == "balls" ? std::array<double, 2>{800, 1200}
                                                              : std::array<double, 2>{none, none});
        } else if (operation.startsWith("split")) {
            std::vector<std::string_view> views;
            std::string storage;
            if (!SplitFields(l, ",", operation == "split", views, storage))
                views = {"!"};
            for (size_t i = 0; i < views.size(); ++i)
                result += (i ? "|" : "") + std::string(views[i]);
        } else {
            result = PartsFileReader::FileNameValue(l);
        }
        QCOMPARE(QString::fromStdString(result), expected);
    }
};

QTEST_GUILESS_MAIN(TestValueChecks)
#include "tst_ValueChecks.moc"
