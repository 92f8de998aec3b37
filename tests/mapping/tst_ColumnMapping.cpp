// The column mapping model over a small known mapping table: loading, fitting a saved
// mapping to an example file, choosing columns, editing labels, saving, both completeness
// rules (the screen's on the unsaved row, the conversion's on the table), and default
// mappings applied to the factory mapping.
#include "TestSupport.h"

#include "mapping/ColumnMapping.h"
#include "mapping/DefaultMapping.h"
#include "mapping/SavedMappingCheck.h"
#include "screens/ErrorLog.h"
#include "start/ProgramState.h"

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

const std::string kCrLf = "\r\n";

QStringList Row(const ColumnMapping& m)
{
    QStringList row;
    for (int c = 1; c <= m.ColumnCount(); ++c)
        row << QString::fromStdString(m.Cell(c));
    return row;
}

std::string Column(const vxtest::RuntimeSandbox& s, const std::string& column, const std::string& mainName)
{
    return vxtest::QueryScalar(s.defDatabase(),
                               "SELECT " + column + " FROM tblPartsFileMapping WHERE MainName = '" + mainName + "'");
}

} // namespace

class TestColumnMapping : public QObject {
    Q_OBJECT

    std::unique_ptr<vxtest::RuntimeSandbox> m_sandbox;
    std::unique_ptr<vxtest::ScriptedPresenter> m_presenter;
    std::unique_ptr<ColumnMapping> m_mapping;

    // A mapping loaded after the SQL runs on the configuration (by default the known table;
    // "" keeps the factory one) and fitted to a file of the given width.
    ColumnMapping& Loaded(int columns, const std::string& sql = kTable)
    {
        m_sandbox->execDef(sql);
        m_mapping = std::make_unique<ColumnMapping>();
        m_mapping->ConnectToDB();
        m_mapping->GetRS();
        if (columns > 0)
            m_mapping->LoadSavedMapping(columns);
        return *m_mapping;
    }

    QStringList Prompts() const
    {
        QStringList texts;
        for (auto& p : m_presenter->prompts)
            texts << QString::fromStdString(p.text);
        return texts;
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

    void loadingAndComboList()
    {
        ColumnMapping& m = Loaded(0);
        QCOMPARE(m.LabelCount(), 6);
        QCOMPARE(m.DisplayLabel(6), "CABINET");
        QCOMPARE(m.CreateComboList(), "NOT USED|PART|MATERIAL|WIDTH|LENGTH|SCRIBES|CABINET");
    }

    void savedMappingFitsFileWidth()
    {
        // Wide enough: every saved column shows, nothing is reported.
        ColumnMapping& wide = Loaded(6);
        QCOMPARE(Row(wide), (QStringList{"PART", "MATERIAL", "WIDTH", "NOT USED", "LENGTH", "NOT USED"}));
        QCOMPARE(TheErrorLog().Text(), std::string());

        // Narrower than LENGTH's column: reset in the table at once and reported as information.
        int shown = TheErrorLog().displayCount();
        ColumnMapping& narrow = Loaded(4);
        QCOMPARE(Row(narrow), (QStringList{"PART", "MATERIAL", "WIDTH", "NOT USED"}));
        QCOMPARE(Column(*m_sandbox, "PF_Col", "LENGTH"), "0");
        QCOMPARE(Column(*m_sandbox, "PF_Col", "WIDTH"), "3");
        QCOMPARE(TheErrorLog().Text(),
                 "This is an informational message only." + kCrLf + kCrLf +
                     "The number of columns in the parts file is less than a column in the current mapping. " + kCrLf +
                     kCrLf +
                     "Previously mapped columns that have a column number greater than the number of columns in the "
                     "parts file are reset to not mapped.");
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QVERIFY(m_presenter->prompts.empty());
    }

    void selectColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("label taken from another column")
            << 3 << "LENGTH" << QStringList{"PART", "MATERIAL", "LENGTH", "NOT USED", "NOT USED", "NOT USED"};
        QTest::newRow("free label") << 4 << "CABINET"
                                    << QStringList{"PART", "MATERIAL", "WIDTH", "CABINET", "LENGTH", "NOT USED"};
        QTest::newRow("NOT USED frees the column")
            << 1 << "NOT USED" << QStringList{"NOT USED", "MATERIAL", "WIDTH", "NOT USED", "LENGTH", "NOT USED"};
    }
    void selectColumn()
    {
        QFETCH(int, column);
        QFETCH(QString, choice);
        QFETCH(QStringList, row);
        ColumnMapping& m = Loaded(6);
        m.SelectColumn(column, choice.toStdString());
        QCOMPARE(Row(m), row);
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
        QCOMPARE(Prompts(), message.isEmpty() ? QStringList() : QStringList{message});
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
        m.EditDisplayLabel(4, "LENGTH", "breite");
        m.SelectColumn(5, "NOT USED"); // LENGTH, required
        m.GetUserMappingFromGrid();
        bool isError = false;
        int shown = TheErrorLog().displayCount();
        m.CheckForValidMapping(isError);
        QVERIFY(isError);
        QCOMPARE(TheErrorLog().Text(), "THE FOLLOWING ARE ERRORS IN THE MAPPING" + kCrLf + kCrLf +
                                           "You must select a column for DB Name: LENGTH, Display Label: BREITE, This "
                                           "is a required field." +
                                           kCrLf + kCrLf);
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QVERIFY(m.UserMapping().empty());

        CheckForValidMapping(isError);
        QVERIFY2(!isError, "unsaved changes do not count for the conversion");

        QVERIFY(m.SaveMapping());
        shown = TheErrorLog().displayCount();
        CheckForValidMapping(isError);
        QVERIFY(isError);
        QCOMPARE(TheErrorLog().Text(), "THERE ARE ERRORS IN THE PARTS FILE MAPPING" + kCrLf + kCrLf +
                                           "You must select a column for DB Name: LENGTH, Display Label: BREITE, This "
                                           "is a required field." +
                                           kCrLf + kCrLf);
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

    void badTableChangesNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("table");
        QTest::newRow("missing table") << ""
                                       << "tblNoSuchMapping";
        QTest::newRow("IDNum beyond the fields")
            << "CREATE TABLE tblBad (IDNum INTEGER, UserLabel TEXT, PF_Col INTEGER);"
               "INSERT INTO tblBad VALUES (1, 'NAME', 1), (99, 'X', 2);"
            << "tblBad";
    }
    void badTableChangesNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QString, table);
        if (!setup.isEmpty())
            m_sandbox->execDef(setup.toStdString());
        ColumnMapping& mapping = Loaded(10, "");
        QStringList before = Row(mapping);
        QVERIFY(!LoadADefaultMapping(mapping, table.toStdString()));
        QCOMPARE(Row(mapping), before);
        QCOMPARE(mapping.DisplayLabel(1), "PART");
        QCOMPARE(m_presenter->prompts.size(), size_t(1));
        QVERIFY(m_presenter->prompts[0].text.rfind("Error: ", 0) == 0);
    }
};

QTEST_GUILESS_MAIN(TestColumnMapping)
#include "tst_ColumnMapping.moc"
