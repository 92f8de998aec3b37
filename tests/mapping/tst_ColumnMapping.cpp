// The column mapping model over a small known mapping table: editing labels, choosing a
// column another field held, saving, both completeness rules (the screen's on the unsaved
// row, the conversion's on the table), and default mappings applied to the factory
// mapping. Then reading the mapping screen's example file: line ends, blank lines, skipped
// lines, the plain split, field cleaning, files with nothing to show and stopping a long
// read.
#include "TestSupport.h"

#include "base/ErrorLog.h"
#include "base/ProgramState.h"
#include "mapping/ColumnMapping.h"
#include "mapping/DefaultMapping.h"
#include "mapping/ExampleFile.h"
#include "mapping/SavedMappingCheck.h"

#include <QtTest>

using namespace vx;

namespace {

// IDNum, MainName, UserLabel, PF_Col, RequiredField, ManualField
const char* kTable = R"(
DELETE FROM tblPartsFileMapping;
INSERT INTO tblPartsFileMapping (IDNum, MainName, UserLabel, PF_Col, RequiredField, ManualField, DataType) VALUES
  (1, 'PART',     'PART',     1, 1, 1, 'TEXT'),
  (2, 'MATERIAL', 'MATERIAL', 2, 0, 1, 'TEXT'),
  (3, 'WIDTH',    'WIDTH',    3, 1, 1, 'DOUBLE'),
  (4, 'LENGTH',   'LENGTH',   5, 1, 1, 'DOUBLE'),
  (5, 'SCRIBES',  'SCRIBES',  0, 0, 0, 'TEXT'),
  (6, 'UF_1',     'CABINET',  0, 0, 1, 'TEXT');
)";

QStringList Row(const ColumnMapping& m)
{
    QStringList row;
    for (int c = 1; c <= m.ColumnCount(); ++c)
        row << QString::fromStdString(m.Cell(c));
    return row;
}

// Counts the reports; with stop set it stops the reading at its first report.
class CountingProgress : public Progress {
public:
    explicit CountingProgress(bool stop = false) : stop(stop) {}
    void start(const std::string&, int64_t total) override { totals.push_back(total); }
    bool update(int64_t) override { return ++updates, !stop; }
    bool stop;
    std::vector<int64_t> totals;
    int updates = 0;
};

} // namespace

class TestColumnMapping : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;
    std::unique_ptr<vxtest::ScriptedPresenter> m_presenter;
    std::unique_ptr<ColumnMapping> m_mapping;

    // A mapping loaded after the SQL runs on the configuration (by default it sets the known
    // table) and fitted to a file of the given width.
    ColumnMapping& Loaded(int columns, const std::string& sql = kTable)
    {
        m_sandbox->execDef(sql);
        m_mapping = std::make_unique<ColumnMapping>();
        m_mapping->ConnectToDB();
        m_mapping->GetRS();
        m_mapping->LoadSavedMapping(columns);
        return *m_mapping;
    }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<vxtest::RuntimeSandbox>();
        m_presenter = std::make_unique<vxtest::ScriptedPresenter>();
    }
    void cleanup()
    {
        m_mapping.reset();
        m_presenter.reset();
        m_sandbox.reset();
    }

    // Each row: the field, {label now, label typed, label cell afterwards} and the message
    // (empty: none).
    void editDisplayLabel_data()
    {
        QTest::addColumn<int>("idNum");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("message");
        const QString duplicate =
            "The new Display Label matchs an existing Display Label. Display Labels must be unique.";
        QTest::newRow("renamed, upper-cased") << 2 << QStringList{"MATERIAL", "  species ", "SPECIES"} << "";
        QTest::newRow("apostrophe allowed") << 2 << QStringList{"MATERIAL", "o'neil", "O'NEIL"} << "";
        QTest::newRow("unchanged") << 2 << QStringList{"MATERIAL", "material", "MATERIAL"} << "";
        QTest::newRow("blank") << 2 << QStringList{"MATERIAL", "   ", "MATERIAL"} << "A Display Label can not be empty";
        QTest::newRow("duplicate") << 2 << QStringList{"MATERIAL", "width", "MATERIAL"} << duplicate;
        QTest::newRow("the NOT USED choice") << 6 << QStringList{"CABINET", "not used", "CABINET"} << duplicate;
    }
    void editDisplayLabel()
    {
        QFETCH(int, idNum);
        QFETCH(QStringList, labels);
        QFETCH(QString, message);
        const QString current = labels[0], entered = labels[1], shown = labels[2];
        ColumnMapping& m = Loaded(6);
        QStringList before = Row(m);
        QCOMPARE(QString::fromStdString(m.EditDisplayLabel(idNum, current.toStdString(), entered.toStdString())),
                 shown);
        QCOMPARE(QString::fromStdString(m.DisplayLabel(idNum)), shown);
        QCOMPARE(m_presenter->prompts.size(), size_t(message.isEmpty() ? 0 : 1));
        QCOMPARE(QString::fromStdString(message.isEmpty() ? "" : m_presenter->prompts[0].text), message);
        // Cells that showed the old label follow the new one; nothing else changes.
        QStringList expected = before;
        for (QString& cell : expected)
            if (cell == current)
                cell = shown;
        QCOMPARE(Row(m), expected);
    }

    // The screen's rule looks at the unsaved row; the conversion's at the saved table. Both
    // name the field by its edited label.
    void screenAndConversionChecks()
    {
        ColumnMapping& m = Loaded(6);
        m.EditDisplayLabel(3, "WIDTH", "breite");
        m.SelectColumn(3, "LENGTH"); // taken from column 5; WIDTH, required, loses its column
        QCOMPARE(Row(m), (QStringList{"PART", "MATERIAL", "LENGTH", "NOT USED", "NOT USED", "NOT USED"}));
        m.GetUserMappingFromGrid();
        bool isError = false;
        int shown = TheErrorLog().displayCount();
        m.CheckForValidMapping(isError);
        QVERIFY(isError);
        QCOMPARE(TheErrorLog().Text(), "THE FOLLOWING ARE ERRORS IN THE MAPPING\r\n\r\nYou must select a column for "
                                       "DB Name: WIDTH, Display Label: BREITE, This is a required field.\r\n\r\n");
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QVERIFY(m.UserMapping().empty());

        CheckForValidMapping(isError);
        QVERIFY2(!isError, "unsaved changes do not count for the conversion");

        QVERIFY(m.SaveMapping());
        shown = TheErrorLog().displayCount();
        CheckForValidMapping(isError);
        QVERIFY(isError);
        QCOMPARE(TheErrorLog().Text(), "THERE ARE ERRORS IN THE PARTS FILE MAPPING\r\n\r\nYou must select a column "
                                       "for DB Name: WIDTH, Display Label: BREITE, This is a required field.\r\n\r\n");
        QCOMPARE(TheErrorLog().displayCount(), shown);
    }

    // Each factory default lists every field once, with unique capital labels, SCRIBES
    // keeping its fixed label, and every required field on a column.
    void factoryTablesFitTheMapping()
    {
        const std::string db = vxtest::BinDir() + "/CLTDefDefault.mdb";
        const std::string fields = vxtest::QueryScalar(db, "SELECT COUNT(*) FROM tblPartsFileMapping");
        for (const std::string& t : vxtest::QueryColumn(db, "SELECT DefaultTableName FROM tblDefaultMappingsID")) {
            QCOMPARE(vxtest::QueryScalar(
                         db, "SELECT COUNT(*) || '|' || COUNT(m.IDNum) || '|' || COUNT(DISTINCT d.UserLabel COLLATE "
                             "NOCASE) || '|' || SUM(d.UserLabel <> UPPER(d.UserLabel) COLLATE BINARY) || '|' || "
                             "SUM(m.RequiredField <> 0 AND d.PF_Col < 1) || '|' || group_concat(CASE m.MainName "
                             "WHEN 'SCRIBES' THEN d.UserLabel END) FROM " +
                                 t + " d LEFT JOIN tblPartsFileMapping m USING (IDNum)"),
                     fields + "|" + fields + "|" + fields + "|0|0|SCRIBES");
        }
    }

    // A default mapping naming a field beyond the mapping's fields changes nothing.
    void badTableChangesNothing()
    {
        ColumnMapping& mapping = Loaded(10, "CREATE TABLE tblBad (IDNum INTEGER, UserLabel TEXT, PF_Col INTEGER);"
                                            "INSERT INTO tblBad VALUES (1, 'NAME', 1), (99, 'X', 2);");
        QStringList before = Row(mapping);
        QVERIFY(!LoadADefaultMapping(mapping, "tblBad"));
        QCOMPARE(Row(mapping), before);
        QCOMPARE(mapping.DisplayLabel(1), "PART");
        QCOMPARE(m_presenter->prompts.size(), size_t(1));
        QVERIFY(m_presenter->prompts[0].text.rfind("Error: ", 0) == 0);
    }

    void linesOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("blank lines dropped")
            << QByteArray("\r\n  \r\na,b\r\n\r\nc,d\r\n   \r\n") << QStringList{"a,b", "c,d"};
        QTest::newRow("lines trimmed of spaces") << QByteArray("  a,b  \r\n") << QStringList{"a,b"};
        // Tabs are not blanks here: a tab-delimited line keeps its empty first and last fields.
        QTest::newRow("tabs kept") << QByteArray("\ta\t\r\n") << QStringList{"\ta\t"};
        QTest::newRow("mixed line ends") << QByteArray("ab\r\ncd\nef\rgh") << QStringList{"ab", "cd", "ef", "gh"};
        QTest::newRow("utf-8 mark ignored") << QByteArray("\xEF\xBB\xBF"
                                                          "a,b\n")
                                            << QStringList{"a,b"};
        // The conversion's short-line rule: under 2 characters besides commas and apostrophes.
        QTest::newRow("short lines dropped") << QByteArray(",,,\r\n'x',\r\na,b\r\n") << QStringList{"a,b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        // A CR at the end of one 64 KiB chunk and its LF at the start of the next are one line end.
        QTest::newRow("line end split across chunks") << QByteArray(65535, 'x') + "\r\nnext\r\n"
                                                      << QStringList{QString(65535, 'x'), "next"};
    }
    void linesOfTheFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        std::string path = m_sandbox->writeFile("example.csv", bytes.toStdString());
        std::vector<std::string> read;
        QVERIFY(ReadExampleLines(path, read, NoProgress()));
        QCOMPARE(vxtest::ToList(read), lines);
    }

    // Each row: {line, delimiter} and the cleaned fields.
    void fieldsAreSplitAndCleaned_data()
    {
        QTest::addColumn<QStringList>("split");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("comma") << QStringList{"1,SIDE,0.75", ","} << QStringList{"1", "SIDE", "0.75"};
        QTest::newRow("empty fields") << QStringList{",a,,", ","} << QStringList{"", "a", "", ""};
        QTest::newRow("quoted number") << QStringList{"\"12\",x", ","} << QStringList{"12", "x"};
        QTest::newRow("apostrophe blanked") << QStringList{"DON'T,x", ","} << QStringList{"DON T", "x"};
        QTest::newRow("delimiter in quotes splits") << QStringList{"\"A,B\",C", ","} << QStringList{"A", "B", "C"};
        QTest::newRow("fields trimmed") << QStringList{" a , b ", ","} << QStringList{"a", "b"};
        QTest::newRow("tab") << QStringList{"a\tb\t\tc", "\t"} << QStringList{"a", "b", "", "c"};
        QTest::newRow("several characters") << QStringList{"a::b::c", "::"} << QStringList{"a", "b", "c"};
        QTest::newRow("no delimiter keeps the line") << QStringList{"a,b", ""} << QStringList{"a,b"};
    }
    void fieldsAreSplitAndCleaned()
    {
        QFETCH(QStringList, split);
        QFETCH(QStringList, fields);
        std::vector<std::string> read = SplitAtDelimiter(split[0].toStdString(), split[1].toStdString());
        for (std::string& f : read)
            f = CleanExampleField(f);
        QCOMPARE(vxtest::ToList(read), fields);
    }

    void nothingToShow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("skip");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray("\r\n  \r\n") << 0 << "NO DATA FOUND IN THE FILE: ";
        QTest::newRow("all skipped") << QByteArray("a,b\r\n") << 1
                                     << "NO DATA FOUND IN THE FILE AFTER THE FIRST 1 LINES ARE SKIPPED: ";
    }
    void nothingToShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, skip);
        QFETCH(QString, message);
        std::string path = m_sandbox->writeFile("e.csv", bytes.toStdString());
        ExampleTable table;
        bool isError = false;
        ParseTheCommaDelimitedPartsFile(path, ",", skip, table, isError);
        QVERIFY(isError);
        QCOMPARE(m_presenter->prompts.size(), size_t(1));
        QCOMPARE(m_presenter->prompts[0].text, message.toStdString() + path);
    }

    void longFileReportsProgressAndCanBeStopped()
    {
        std::string text;
        for (int i = 1; i <= 100000; ++i)
            text += std::to_string(i) + ",PART " + std::to_string(i) + ",MAPLE,0.75,10,20,1\r\n";
        std::string path = m_sandbox->writeFile("long.csv", text);

        CountingProgress counting;
        ExampleTable table;
        bool isError = true;
        ParseTheCommaDelimitedPartsFile(path, ",", 0, table, isError, counting);
        QVERIFY(!isError);
        QCOMPARE(table.RowCount(), 100000);
        QCOMPARE(table.LineNumbers.back(), 100000);
        QVERIFY(counting.updates > 10);
        QCOMPARE(counting.totals.front(), static_cast<int64_t>(text.size()));

        CountingProgress stopping(true);
        ExampleTable kept;
        ParseTheCommaDelimitedPartsFile(path, ",", 0, kept, isError, stopping);
        QVERIFY(isError);
        QCOMPARE(kept.RowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestColumnMapping)
#include "tst_ColumnMapping.moc"
