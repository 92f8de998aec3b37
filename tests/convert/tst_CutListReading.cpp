// Reading delimited cut lists into the working table: line ends and text encodings, kept
// and skipped lines, cleaning of values, quoted fields, lengths with units or fractions,
// rejected rows and unit conversion; and the value check of one field and the
// text operations of the conversion: scribe and space-ball lists, field splitting and the
// file name value.
#include "ConvertTestTools.h"

#include "base/ErrorLog.h"
#include "base/NumberText.h"
#include "convert/DelimitedFields.h"
#include "convert/PartSketch.h"
#include "convert/PartsFileReader.h"
#include "convert/RowValidation.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"
#include "mapping/ExampleFile.h"

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

class TestCutListReading : public QObject {
    Q_OBJECT

    // Reads the bytes as job.csv through the screen's open sequence; the working table is
    // left for the test to inspect.
    static bool Open(SessionFixture& f, const std::string& bytes, const std::string& skip = "0")
    {
        std::string path = f.sandbox.writeFile("job.csv", bytes);
        f.session.SkipLinesText = skip;
        return f.session.OpenCommaDelimitedPartsFile(path, "job.csv");
    }

private slots:
    // Each kind of line end and text encoding once; the bytes the file holds after the
    // line-end rewrite and the parts read.
    void lineEndsAndEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("afterwards");
        QTest::addColumn<QStringList>("parts");
        const QStringList ab{"A1", "B2"};
        QTest::newRow("bare LF rewritten")
            << QByteArray("A1,1,2\nB2,1,2\n") << QByteArray("A1,1,2\r\nB2,1,2\r\n") << ab;
        QTest::newRow("CR LF untouched") << QByteArray("A1,1,2\r\nB2,1,2") << QByteArray("A1,1,2\r\nB2,1,2") << ab;
        QTest::newRow("bare CR ends lines") << QByteArray("A1,1,2\rB2,1,2\r") << QByteArray("A1,1,2\rB2,1,2\r") << ab;
        // A lone LF ends a line in a file that has CRs too; the file is left as it is.
        QTest::newRow("LF inside a CR file")
            << QByteArray("A1,1,2\nB2,1,2\r\n") << QByteArray("A1,1,2\nB2,1,2\r\n") << ab;
        // U+010D holds a 0D byte in UTF-16.
        const QString text = QString::fromUtf8("S\xC3\xA4ge \xE2\x80\x94 1,1,2\nT\xC4\x8D\xF0\x9F\x94\xA8,1,2\n");
        const QStringList parts{QString::fromUtf8("S\xC3\xA4ge \xE2\x80\x94 1"),
                                QString::fromUtf8("T\xC4\x8D\xF0\x9F\x94\xA8")};
        const QByteArray utf8 = text.toUtf8();
        QByteArray crlf = utf8;
        crlf.replace("\n", "\r\n");
        QTest::newRow("utf-8") << utf8 << crlf << parts;
        QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + utf8 << "\xEF\xBB\xBF" + crlf << parts;
        QTest::newRow("utf-16 le, never rewritten") << Utf16(text, true) << Utf16(text, true) << parts;
        QString crlfText = text;
        crlfText.replace("\n", "\r\n");
        QTest::newRow("utf-16 be with CR LF") << Utf16(crlfText, false) << Utf16(crlfText, false) << parts;
        const QByteArray mixed16 = Utf16("A1,1,2\nB2,1,2\r\n", true);
        QTest::newRow("utf-16 LF inside a CR LF file") << mixed16 << mixed16 << ab;
        // What is left at the end is no character and no row, nor part of the last one.
        QTest::newRow("utf-16 odd byte last") << mixed16 + "A" << mixed16 + "A" << ab;
        QTest::newRow("utf-16 lone high surrogate last")
            << mixed16.chopped(4) + "\x3D\xD8" << mixed16.chopped(4) + "\x3D\xD8" << ab;
        QByteArray cp1252("S\xE4ge \x97 1,1,2\r\nT,1,2\r\n");
        QTest::newRow("windows-1252") << cp1252 << cp1252 << QStringList{parts[0], "T"};
    }
    void lineEndsAndEncodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, afterwards);
        QFETCH(QStringList, parts);
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        QCOMPARE(Open(f, bytes.toStdString()), !parts.isEmpty());
        QCOMPARE(QByteArray::fromStdString(vxtest::ReadFile(f.sandbox.file("job.csv"))), afterwards);
        QCOMPARE(WorkingColumn(f.session, "PART"), parts);
        QCOMPARE(vxtest::Contains(TheErrorLog().Text(), "ends in an incomplete UTF-16 character"),
                 QByteArray(QTest::currentDataTag()).endsWith(" last"));
    }

    // Each row: the file, the lines to skip, and the parts and line numbers kept. A file
    // without data rows is reported as such, and nothing else is logged.
    void keptAndSkippedLines_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("skip");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("seq");
        auto add = [](const char* name, const char* content, const char* skip, const QStringList& parts,
                      const QStringList& seq) {
            QTest::newRow(name) << QString(content) << QString(skip) << parts << seq;
        };
        add("blank and comma-only lines do not count", "H,W,L,Q\r\n\r\n , ,,\r\nA1,1,2,1\r\n,,,\r\nB2,1,2,1", "1",
            {"A1", "B2"}, {"1", "2"});
        // A one-character line is dropped, so it is not the line skipped either.
        add("one-character line not counted", "x\r\nA1,1,2,1", "1", {}, {});
        add("one character of two bytes", "\xC3\xA9\r\nA1,1,2,1", "1", {}, {});
        add("an LF ends the skipped line in a CR LF file", "H,W,L,Q\nA1,1,2,1\r\nB2,1,2,1", "1", {"A1", "B2"},
            {"1", "2"});
        // Apostrophes go before the test: "'a'" leaves one character and the line is dropped.
        add("apostrophes removed first", "'a'\r\nA1,1,2,1", "0", {"A1"}, {"1"});
        add("rejected rows leave gaps in nothing", "A1,1,2,1\r\nB2,0,2,1\r\nC3,1,2,1", "0", {"A1", "C3"}, {"1", "2"});
        add("empty file", "", "0", {}, {});
        add("only skipped lines", "H,W\r\n\r\nA1,1,2,1", "2", {}, {});
        add("only comma lines", ",,,\r\n , \r\n", "0", {}, {});
    }
    void keptAndSkippedLines()
    {
        QFETCH(QString, content);
        QFETCH(QString, skip);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, seq);
        SessionFixture f;
        TheErrorLog().AddInfo("earlier report");
        QVERIFY(f.prepare());
        Open(f, content.toStdString(), skip.toStdString());
        QCOMPARE(WorkingColumn(f.session, "PART"), parts);
        QCOMPARE(WorkingColumn(f.session, "SEQ_NUM"), seq);
        if (parts.isEmpty()) {
            QCOMPARE(f.presenter.prompts.size(), size_t(1));
            QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text),
                     QString::fromStdString("NO DATA FOUND IN THE FILE:\r\n" + f.sandbox.file("job.csv")));
            QCOMPARE(f.presenter.prompts[0].style, 0);
            QCOMPARE(QString::fromStdString(TheErrorLog().Text()), QString("earlier report"));
            QCOMPARE(QString::fromStdString(f.session.FileOpenedLabel), QString());
        }
    }

    // In UTF-16, so the rejected row must be logged as its text, not cut at its first NUL byte.
    void workedExample()
    {
        SessionFixture f;
        QVERIFY(f.prepare());
        int shown = TheErrorLog().displayCount();
        QVERIFY(!Open(f, Utf16("Part,W,L,Q\r\n\r\nSide,12.5,30,2\r\n,,,\r\n,abc,x,-2\r\n", true).toStdString(), "1"));
        QCOMPARE(WorkingColumn(f.session, "PART || '|' || WIDTH || '|' || LENGTH || '|' || QUANTITY || '|' || SEQ_NUM"),
                 QStringList{"Side|12.5|30.0|2|1"});
        QCOMPARE(QString::fromStdString(TheErrorLog().Text()),
                 QString("\r\n\r\nThe following errors were found in row 3 of the parts file, the data in this row "
                         "was ignored.\r\n\r\nThe row contains: ,abc,x,-2\r\n\r\nThere was no PART data in column 1. "
                         "The data in column 2 for WIDTH can not be evaluated as a number. The data in column 3 for "
                         "LENGTH can not be evaluated as a number. The data in column 4 for QUANTITY must be >=0. "));
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QCOMPARE(f.session.FileOpenedLabel, f.sandbox.file("job.csv"));
        QCOMPARE(WorkingColumn(f.session, "FileName"), QStringList{"job"});
    }

    // Each row: {line, delimiter}, the length conversion, whether quoted fields and lengths
    // with units are read, and the row read as PART|MATERIAL|WIDTH|UF_1 ("" when rejected).
    // A second line (after CR LF) is always rejected, the row is the first line's.
    void values_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<int>("conversion");
        QTest::addColumn<bool>("notation");
        QTest::addColumn<QString>("row");
        auto add = [](const char* name, const QString& line, const QString& delimiter, const QString& row) {
            QTest::newRow(name) << QStringList{line, delimiter} << 0 << false << row;
        };
        add("quoted number", "Side,MAPLE,\"12.5\",1,x", ",", "Side|MAPLE|12.5|x");
        add("apostrophe removed", "O'Brien,MAPLE,1,1,x", ",", "OBrien|MAPLE|1.0|x");
        add("empty material is NONE", "Side, ,1,1,x", ",", "Side|NONE|1.0|x");
        add("blanks trimmed", "  Side ,MAPLE,  2 ,1,  x y ", ",", "Side|MAPLE|2.0|x y");
        // Without the quoting rules a delimiter inside quotes splits: WIDTH then reads MAPLE.
        add("no quoting rules", "\"Side,Left\",MAPLE,1,1,x", ",", "");
        add("tab delimiter", "Side\tMAPLE\t3\t1\tx", "\t", "Side|MAPLE|3.0|x");
        add("two-character delimiter", "Side;;MAPLE;;3;;1;;x", ";;", "Side|MAPLE|3.0|x");
        // Numbers the cleaning would join, or feet, are refused; quotes around one are fine.
        add("feet and inches", "Side,MAPLE,5'6\",1,x", ",", "");
        add("quote inside a number", "Side,MAPLE,\"10\"5,1,x", ",", "");
        add("feet mark", "Side,MAPLE,6',1,x", ",", "");
        add("apostrophes around a number", "Side,MAPLE,'7',1,x", ",", "Side|MAPLE|7.0|x");
        add("inch mark after a number", "Side,MAPLE,12\",1,x", ",", "Side|MAPLE|12.0|x");
        add("NUL inside a name", QString::fromLatin1("Side,Pi\0ne,1,1,x", 16), ",", "");
        auto length = [](const char* name, const QString& width, const QString& length, int conversion,
                         const QString& stored, bool on = true, const QString& d = ",") {
            QTest::newRow(name) << QStringList{"Side" + d + "M" + d + width + d + length + d + "x", d} << conversion
                                << on << (stored.isEmpty() ? QString() : "Side|M|" + stored + "|x");
        };
        length("mixed fraction", "23 1/4", "30", 0, "23.25");
        length("dash fraction, inch mark", "29-1/16\"", "72\"", 0, "29.0625");
        length("plain fraction", "23/32\"", "1", 0, "0.71875");
        length("inch word", "72 in", "1", 0, "72.0");
        length("mm kept in a mm file", "7620mm", "1", 2, "300.0");
        length("cm to mm first", "  60 cm", "1", 2, "23.622");
        length("mm in an inch file", "254 mm", "1", 1, "254.0");
        length("decimal comma", "53,5", "1", 0, "53.5", true, ";");
        length("decimal comma beside a comma delimiter", "\"53,5\"", "1", 0, "");
        length("wrong unit", "72 ft", "1", 0, "");
        length("units disagree without conversion", "600 mm", "10\"", 0, "");
        length("units agree without conversion", "600 mm", "10mm", 0, "600.0");
        length("option off", "23 1/4", "30", 0, "", false);
        length("feet and inches with units", "5'6\"", "1", 0, "");
        length("units disagree across rows", "600 mm", "1,x\r\nSide,M,24\",1", 0, "600.0");
        length("decimal comma split by a comma delimiter", "1", "1,x\r\nSide,M,12,5 cm,1", 0, "1.0");
        // With the quoting rules, the quotes they leave in a text are its own.
        QTest::newRow("quotes kept in text with the quoting rules")
            << QStringList{"\"Door \"\"A\"\"\",\"3/4\"\" ply\",\"29-1/16\"\"\",1,Tag \"B\"", ","} << 0 << true
            << "Door \"A\"|3/4\" ply|29.0625|Tag \"B\"";
    }
    void values()
    {
        QFETCH(QStringList, read);
        QFETCH(int, conversion);
        QFETCH(bool, notation);
        QFETCH(QString, row);
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"MATERIAL", 2}, {"WIDTH", 3}, {"LENGTH", 4}, {"UF_1", 5}}));
        State().LengthsWithUnits = State().QuotedFields = notation;
        f.session.FieldDelimiter = read[1].toStdString();
        f.session.LengthConversion = conversion;
        QCOMPARE(Open(f, read[0].toStdString()), !row.isEmpty() && !read[0].contains("\r\n"));
        QCOMPARE(WorkingColumn(f.session, "PART || '|' || MATERIAL || '|' || WIDTH || '|' || UF_1"),
                 row.isEmpty() ? QStringList{} : QStringList{row});
    }

    // Each row: the options ("LWT" etc.: DIMENSIONS in column 2 with that order, else LENGTH,
    // WIDTH, THICKNESS in 2 to 4; "sort"; "feet": with lengths with units and quoting rules),
    // the line, and the row read as LENGTH|WIDTH|THICKNESS or the log's message when rejected.
    void dimensions_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("read");
        auto add = [](const char* name, const char* options, const QString& line, const QString& read) {
            QTest::newRow(name) << QString(options) << line << read;
        };
        add("times sign", "LWT", "A,800\u00D7720\u00D719", "800.0|720.0|19.0");
        add("x with blanks, quoted, T x W x L", "TWL", "A,\"0.160 x 14.0 x 36.0\"", "36.0|14.0|0.16");
        add("X and *", "WLT", "A,400X600*18", "600.0|400.0|18.0");
        add("two numbers leave the thickness", "LW", "A,600 x 400", "600.0|400.0|0.0");
        add("too few numbers", "LWT", "A,2\u00D70",
            "The data in column 2 for DIMENSIONS must hold length \u00D7 width \u00D7 thickness, got '2\u00D70'. ");
        add("a section row", "LWT", "--- MDF ---,,,",
            "The data in column 2 for DIMENSIONS must hold length \u00D7 width \u00D7 thickness, got ''. ");
        add("units inside the cell", "LWT feet", "A,\"2 ft x 11 1/4\"\" x 3/4 in\"", "24.0|11.25|0.75");
        add("sorted cell", "TWL sort", "A,600x19x400", "600.0|400.0|19.0");
        add("sorted columns", "sort", "A,19,2231,613", "2231.0|613.0|19.0");
        add("feet", "feet", "A,5',1,1", "60.0|1.0|1.0");
        add("feet and inches", "feet", "A,5' 6\",1,1", "66.0|1.0|1.0");
        add("feet, dash, mixed fraction, quoted", "feet", "A,\"5'-8 1/2\"\"\",1,1", "68.5|1.0|1.0");
        add("feet, dash, fraction", "feet", "A,7'-3/4\",1,1", "84.75|1.0|1.0");
        add("feet and inches as words", "feet", "A,2 ft 3 in,1,1", "27.0|1.0|1.0");
        add("feet with mm", "feet", "A,5' 6 mm,1,1",
            "The data in column 2 for LENGTH can not be evaluated as a number. ");
    }
    void dimensions()
    {
        QFETCH(QString, options);
        QFETCH(QString, line);
        QFETCH(QString, read);
        const QStringList flags = options.split(u' ', Qt::SkipEmptyParts);
        const bool cell = !flags.isEmpty() && flags[0].size() <= 3 && flags[0] == flags[0].toUpper();
        SessionFixture f;
        QVERIFY(f.prepare(cell ? std::vector<std::pair<std::string, int>>{{"PART", 1}, {"DIMENSIONS", 2}}
                               : std::vector<std::pair<std::string, int>>{
                                     {"PART", 1}, {"LENGTH", 2}, {"WIDTH", 3}, {"THICKNESS", 4}}));
        State().DimensionsOrder = cell ? flags[0].toStdString() : "LWT";
        State().SortDimensions = flags.contains("sort");
        State().LengthsWithUnits = State().FeetAndInches = State().QuotedFields = flags.contains("feet");
        const bool good = !read.startsWith("The data");
        QCOMPARE(Open(f, line.toStdString()), good);
        QCOMPARE(WorkingColumn(f.session, "LENGTH || '|' || WIDTH || '|' || THICKNESS"),
                 good ? QStringList{read} : QStringList{});
        if (!good)
            QVERIFY2(QString::fromStdString(TheErrorLog().Text()).endsWith(read), TheErrorLog().Text().c_str());
    }

    void unitConversion_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("row"); // WIDTH|LENGTH|THICKNESS|SCRIBES
        auto add = [](const char* name, int option, const char* line, const char* row) {
            QTest::newRow(name) << option << QString(line) << QString(row);
        };
        add("none, rounded to 6 places", 0, "A,1.23456789,2,0.75,10|0|5", "1.234568|2.0|0.75|10|0|5");
        add("inches to mm", 1, "A,1,2.5,0.75,10|0|abc|20", "25.4|63.5|19.05|254|508");
        add("mm to inches", 2, "A,25.4,10,19.05,25.4", "1.0|0.3937|0.75|1");
        add("tiny values", 1, "A,0.00005,1,0,0", "0.001|25.4|0.0|");
    }
    void unitConversion()
    {
        QFETCH(int, option);
        QFETCH(QString, line);
        QFETCH(QString, row);
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"THICKNESS", 4}, {"SCRIBES", 5}}));
        QVERIFY(f.session.QuantityNotMapped);
        f.session.LengthConversion = option;
        QVERIFY(Open(f, line.toStdString()));
        QCOMPARE(WorkingColumn(f.session, "WIDTH || '|' || LENGTH || '|' || THICKNESS || '|' || SCRIBES"),
                 QStringList{row});
        QCOMPARE(WorkingColumn(f.session, "QUANTITY"), QStringList{"1"});
    }

    // Each row: the skip text typed, whether the configuration database is opened, the
    // message (empty: read) and the skip text afterwards.
    void refusedBeforeReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty") << "" << false << "Value required for Skip first x lines."
                               << "";
        QTest::newRow("program file") << "0" << true
                                      << "The file selected is a file used by this software. You can not use this "
                                         "file."
                                      << "0";
        QTest::newRow("rounded and written back") << " 2.5 " << false << ""
                                                  << "2";
    }
    void refusedBeforeReading()
    {
        QFETCH(QString, text);
        QFETCH(bool, own);
        QFETCH(QString, message);
        QFETCH(QString, after);
        SessionFixture f;
        QVERIFY(f.prepare());
        f.session.SkipLinesText = text.toStdString();
        std::string path = own ? f.sandbox.defDatabase() : f.sandbox.writeFile("job.csv", "H,W\r\nH,W\r\nA1,1,2,1");
        QCOMPARE(f.session.OpenPartsFile(path, "job.csv", false), message.isEmpty());
        QCOMPARE(QString::fromStdString(f.session.SkipLinesText), after);
        QCOMPARE(f.presenter.prompts.size(), size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty())
            QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
        QCOMPARE(WorkingColumn(f.session, "PART"), message.isEmpty() ? QStringList{"A1"} : QStringList{});
    }

    // Both readers split the same way; an unclosed quote is a bad row with its number.
    void quotedFieldsInBothReaders()
    {
        SessionFixture f;
        QVERIFY(f.prepare({{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}}));
        State().QuotedFields = true;
        const QByteArray bytes("\"Left, Right\",1,2\n\"Top,1,2\nBack,1,2\n");
        QVERIFY(!Open(f, bytes.toStdString()));
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
        // The quotes the quoting rules leave are shown; a NUL is refused with its row.
        ParseTheCommaDelimitedPartsFile(f.sandbox.writeFile("ex.csv", "\"Door \"\"A\"\"\",3/4\" ply"), ",", 0, table,
                                        isError, NoProgress(), true);
        QVERIFY(!isError);
        QCOMPARE(vxtest::ToList(table.Fields[0]), (QStringList{"Door \"A\"", "3/4\" ply"}));
        ParseTheCommaDelimitedPartsFile(f.sandbox.writeFile("ex.csv", std::string("A,B\r\nP\0Q,R", 10)), ",", 0, table,
                                        isError);
        QVERIFY(isError);
        QCOMPARE(f.presenter.prompts.back().text,
                 "Row 2 of the file holds a NUL character (\\x00), which is not text: P\\x00Q,R");
    }

    // The command line converts a quoted, fractional cut list with both options stored.
    void commandLineConvertsQuotedFractions()
    {
        vxtest::RuntimeSandbox box;
        MapColumns(box, {{"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"SCRIBES", 4}});
        box.execDef("DELETE FROM tblSettings WHERE SettingName IN ('QuotedFields', 'LengthsWithUnits');"
                    "INSERT INTO tblSettings VALUES ('QuotedFields', '1'), ('LengthsWithUnits', '1');"
                    "UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes';");
        const std::string csv =
            box.writeFile("shelf.csv", "Item,Width,Length,Scribes\n"
                                       "\"Left \"\"A\"\", Right\",\"11-1/4\"\"\",\"72\"\"\",1/2|3\n");
        const vxtest::RunResult r = vxtest::RunVxclt({"/in", csv, "/skip", "1"}, box.root());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(vxtest::QueryScalar(box.file("shelf.rdb"), "SELECT Part || '|' || Width || '|' || Length || '|' || "
                                                            "Scribes FROM tblParts"),
                 "Left \"A\", Right|11.25|72.0|0.5|3");
    }

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
        add("positions: running sums", "positions", "12.5|30|30#", 100, "12.5|42.5|72.5 / ");
        add("positions: empty lists", "positions", " # ", 100, " / ");
        add("positions: the end itself", "positions", "0.1|0.2|99.7#100", 100, "0.1|0.3|100 / 100");
        add("positions: stop past the end", "positions", "40|50|20#60|60", 100, "40|90 ! / 60 !");
        add("positions: stop at text", "positions", "200|abc#25|-1|10", 100, " ! / 25 !");
        add("positions: converted first", "positionsMm", "1|2.5#2", 101.6, "25.4|88.9 / 50.8");
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
        } else if (operation.startsWith("positions")) {
            // The drawing's positions, with the list checks' own verdicts as problems.
            QStringList lists = text.split('#');
            if (operation == "positionsMm")
                for (QString& list : lists)
                    list = QString::fromStdString(ConvertScribeUnits(list.toStdString(), 25.4, 3));
            const PartMarks marks = PartMarkPositions(length, lists[0].toStdString(), lists[1].toStdString());
            int i = 0;
            for (const AbsolutePositions* list : {&marks.scribes, &marks.spaceBalls}) {
                bool flag = false;
                std::string checked;
                (i++ ? CheckSpaceBallList : CheckScribeList)(lists[i - 1].toStdString(), flag, checked, length);
                QCOMPARE(list->problem, checked);
                QStringList texts;
                for (double p : list->positions)
                    texts << QString::fromStdString(FormatNumber(p));
                result += (i > 1 ? " / " : "") + texts.join('|').toStdString() + (list->problem.empty() ? "" : " !");
            }
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

QTEST_GUILESS_MAIN(TestCutListReading)
#include "tst_CutListReading.moc"
