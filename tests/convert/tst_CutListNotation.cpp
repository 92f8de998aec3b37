// Cut lists as other tools write them: text encodings, quoted fields and lengths with units
// or fractions, read by the conversion and by the mapping screen's example reader.
#include "ConvertTestTools.h"

#include "convert/DelimitedFields.h"
#include "mapping/ExampleFile.h"
#include "screens/ErrorLog.h"

#include <QStringEncoder>
#include <QtTest>

using namespace vx;
using namespace convtest;

namespace {
QByteArray Utf16(const QString& text, bool little)
{
    QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}
} // namespace

class TestCutListNotation : public QObject {
    Q_OBJECT

    static bool Open(SessionFixture& f, const QByteArray& bytes, std::string* path = nullptr)
    {
        std::string file = f.sandbox.writeFile("job.csv", bytes.toStdString());
        if (path)
            *path = file;
        f.session.SkipLinesText = "0";
        return f.session.OpenCommaDelimitedPartsFile(file, "job.csv");
    }

private slots:
    // Each kind of file once; the bytes the file holds after the line-end rewrite.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("afterwards");
        const QString text = QString::fromUtf8("S\xC3\xA4ge \xE2\x80\x94 1,1,2\nT\xC4\x8D\xF0\x9F\x94\xA8,1,2\n"); // U+010D holds a 0D byte in UTF-16
        const QByteArray utf8 = text.toUtf8();
        QByteArray crlf = utf8;
        crlf.replace("\n", "\r\n");
        QTest::newRow("utf-8") << utf8 << crlf;
        QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + utf8 << "\xEF\xBB\xBF" + crlf;
        QTest::newRow("utf-16 le, never rewritten") << Utf16(text, true) << Utf16(text, true);
        QString crlfText = text;
        crlfText.replace("\n", "\r\n");
        QTest::newRow("utf-16 be with CR LF") << Utf16(crlfText, false) << Utf16(crlfText, false);
        QByteArray cp1252("S\xE4ge \x97 1,1,2\r\nT,1,2\r\n");
        QTest::newRow("windows-1252") << cp1252 << cp1252;
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, afterwards);
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        std::string path;
        QVERIFY(Open(f, bytes, &path));
        QCOMPARE(QByteArray::fromStdString(vxtest::ReadFile(path)), afterwards);
        const QString second = QTest::currentDataTag() == QString("windows-1252") ? "T" : QString::fromUtf8("T\xC4\x8D\xF0\x9F\x94\xA8");
        QCOMPARE(WorkingColumn(f.session, "PART"), (QStringList{QString::fromUtf8("S\xC3\xA4ge \xE2\x80\x94 1"), second}));
    }

    // A rejected UTF-16 row is shown as the text it holds, not cut at its first NUL byte.
    void rejectedUtf16RowShowsItsText()
    {
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        State().CommandLineMode = true;
        QVERIFY(!Open(f, Utf16("Side,x,2\n", true)));
        QVERIFY(TheErrorLog().Text().find("The row contains: Side,x,2") != std::string::npos);
    }

    // Each row: the line, quoting on or off, and the fields joined with "|" ("!" = unclosed).
    void quotedSplit_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("quoted");
        QTest::addColumn<QString>("fields");
        QTest::newRow("closing quote") << "\"Side\",1" << true << "Side|1";
        QTest::newRow("delimiter inside") << "\"Left, Right\",2" << true << "Left, Right|2";
        QTest::newRow("doubled quotes") << "\"29-1/16\"\"\",\"\"\"\"" << true << "29-1/16\"|\"";
        QTest::newRow("blank before the quote, text after") << "a, \"b,c\" x,d" << true << "a|b,c x|d";
        QTest::newRow("empty quoted field last") << "a,\"\"" << true << "a|";
        QTest::newRow("unclosed quote") << "a,\"b,c" << true << "!";
        QTest::newRow("quote inside a plain field") << "3/4\" ply,1" << true << "3/4\" ply|1";
        QTest::newRow("option off splits inside quotes") << "\"Left, Right\",2" << false << "\"Left| Right\"|2";
    }
    void quotedSplit()
    {
        QFETCH(QString, line);
        QFETCH(bool, quoted);
        QFETCH(QString, fields);
        std::vector<std::string_view> views;
        std::string storage;
        const std::string text = line.toStdString();
        QStringList got;
        if (!SplitFields(text, ",", quoted, views, storage))
            got << "!";
        else
            for (std::string_view v : views)
                got << QString::fromStdString(std::string(v));
        QCOMPARE(got.join('|'), fields);
    }

    // Both readers split the same way; an unclosed quote is a bad row with its number.
    void quotedFieldsInBothReaders()
    {
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        State().QuotedFields = true;
        const QByteArray bytes("\"Left, Right\",1,2\n\"Top,1,2\nBack,1,2\n");
        QVERIFY(!Open(f, bytes));
        QCOMPARE(WorkingColumn(f.session, "PART"), (QStringList{"Left, Right", "Back"}));
        QVERIFY(TheErrorLog().Text().find("errors were found in row 2 ") != std::string::npos);
        QVERIFY(TheErrorLog().Text().find("A quoted field (\") in this row does not close.") != std::string::npos);

        ExampleTable table;
        bool isError = false;
        const std::string path = f.sandbox.writeFile("ex.csv", "\"Left, Right\",1\r\n\"Top,1");
        ParseTheCommaDelimitedPartsFile(path, ",", 0, table, isError, NoProgress(), true);
        QVERIFY(isError);
        QCOMPARE(f.presenter.prompts.back().text,
                 "Row 2 of the file has a quoted field (\") that does not close: \"Top,1");
    }

    // Each row: width and length as written, delimiter, length conversion, option on, and
    // the width stored ("" when the row is rejected).
    void lengthsWithUnits_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("conversion");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("width");
        auto add = [](const char* name, QStringList row, int conversion, bool on, QString width) {
            QTest::newRow(name) << row << conversion << on << width;
        };
        add("mixed fraction", {"23 1/4", "30", ","}, 0, true, "23.25");
        add("dash fraction, inch mark", {"29-1/16\"", "72\"", ","}, 0, true, "29.0625");
        add("plain fraction", {"23/32\"", "1", ","}, 0, true, "0.71875");
        add("inch word", {"72 in", "1", ","}, 0, true, "72");
        add("mm kept in a mm file", {"7620mm", "1", ","}, 2, true, "300");
        add("cm to mm first", {"  60 cm", "1", ","}, 2, true, "23.622");
        add("mm in an inch file", {"254 mm", "1", ","}, 1, true, "254");
        add("decimal comma", {"53,5", "1", ";"}, 0, true, "53.5");
        add("decimal comma beside a comma delimiter", {"\"53,5\"", "1", ","}, 0, true, "");
        add("wrong unit", {"72 ft", "1", ","}, 0, true, "");
        add("units disagree without conversion", {"600 mm", "10\"", ","}, 0, true, "");
        add("units agree without conversion", {"600 mm", "10mm", ","}, 0, true, "600");
        add("option off", {"23 1/4", "30", ","}, 0, false, "");
    }
    void lengthsWithUnits()
    {
        QFETCH(QStringList, row);
        QFETCH(int, conversion);
        QFETCH(bool, on);
        QFETCH(QString, width);
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        State().LengthsWithUnits = on;
        State().QuotedFields = true;
        f.session.FieldDelimiter = row[2].toStdString();
        f.session.LengthConversion = conversion;
        const QString line = "Side" + row[2] + row[0] + row[2] + row[1];
        QCOMPARE(Open(f, line.toUtf8()), !width.isEmpty());
        QCOMPARE(WorkingColumn(f.session, "WIDTH"), width.isEmpty() ? QStringList{} : QStringList{width});
    }

    // The command line converts a quoted, fractional cut list with both options stored.
    void commandLineConvertsQuotedFractions()
    {
        vxtest::RuntimeSandbox box;
        MapColumns(box, {{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"SCRIBES", 4}});
        box.execDef("DELETE FROM tblSettings WHERE SettingName IN ('QuotedFields', 'LengthsWithUnits');"
                    "INSERT INTO tblSettings VALUES ('QuotedFields', '1'), ('LengthsWithUnits', '1');"
                    "UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes';");
        const std::string csv = box.writeFile("shelf.csv", "Item,Width,Length,Scribes\n"
                                                           "\"Left, Right\",\"11-1/4\"\"\",\"72\"\"\",1/2|3\n");
        const vxtest::RunResult r = vxtest::RunVxclt({"/in", csv, "/skip", "1"}, box.root());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(box.file("shelf.rdb"), "SELECT Part || '|' || Width || '|' || Length || '|' || "
                                                            "Scribes FROM tblParts"),
                 std::string("Left, Right|11.25|72.0|0.5|3"));
    }
};

QTEST_GUILESS_MAIN(TestCutListNotation)
#include "tst_CutListNotation.moc"
