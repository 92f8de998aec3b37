// Default mappings applied to the mapping model and the factory default tables themselves.
#include "TestSupport.h"

#include "mapping/ColumnMapping.h"
#include "mapping/DefaultMapping.h"
#include "screens/ErrorLog.h"

#include <QtTest>

using namespace vx;

namespace {

std::vector<std::string> Row(const ColumnMapping& m)
{
    std::vector<std::string> row;
    for (int c = 1; c <= m.ColumnCount(); ++c)
        row.push_back(m.Cell(c));
    return row;
}

// A mapping model on the sandbox's configuration with an example of `columns` columns.
void Open(ColumnMapping& mapping, int columns)
{
    QVERIFY(mapping.ConnectToDB());
    QVERIFY(mapping.GetRS());
    QVERIFY(mapping.LoadSavedMapping(columns));
}

} // namespace

class TestDefaultMapping : public QObject {
    Q_OBJECT

private slots:
    void factoryTablesFitTheMapping_data()
    {
        QTest::addColumn<QString>("table");
        for (const std::string& t : vxtest::QueryColumn(vxtest::BinDir() + "/CLTDefDefault.mdb",
                                                        "SELECT DefaultTableName FROM tblDefaultMappingsID"))
            QTest::newRow(t.c_str()) << QString::fromStdString(t);
    }
    void factoryTablesFitTheMapping()
    {
        // Each factory default lists every field once, with unique capital labels, SCRIBES
        // keeping its fixed label, and every required field on a column.
        QFETCH(QString, table);
        const std::string db = vxtest::BinDir() + "/CLTDefDefault.mdb";
        const std::string t = table.toStdString();
        QCOMPARE(vxtest::QueryScalar(db, "SELECT COUNT(*) FROM " + t),
                 vxtest::QueryScalar(db, "SELECT COUNT(*) FROM tblPartsFileMapping"));
        QCOMPARE(vxtest::QueryScalar(db, "SELECT COUNT(*) FROM " + t + " d JOIN tblPartsFileMapping m USING (IDNum)"),
                 vxtest::QueryScalar(db, "SELECT COUNT(*) FROM tblPartsFileMapping"));
        QCOMPARE(vxtest::QueryScalar(db, "SELECT COUNT(DISTINCT UserLabel COLLATE NOCASE) FROM " + t),
                 vxtest::QueryScalar(db, "SELECT COUNT(*) FROM " + t));
        QCOMPARE(vxtest::QueryScalar(db, "SELECT COUNT(*) FROM " + t +
                                             " WHERE UserLabel <> UPPER(UserLabel) COLLATE BINARY"),
                 std::string("0"));
        QCOMPARE(vxtest::QueryScalar(db, "SELECT d.UserLabel FROM " + t +
                                             " d JOIN tblPartsFileMapping m "
                                             "USING (IDNum) WHERE m.MainName = 'SCRIBES'"),
                 std::string("SCRIBES"));
        QCOMPARE(vxtest::QueryScalar(db, "SELECT COUNT(*) FROM " + t +
                                             " d JOIN tblPartsFileMapping m USING (IDNum) "
                                             "WHERE m.RequiredField <> 0 AND d.PF_Col < 1"),
                 std::string("0"));
    }

    // A default wider than the example is checked through the mapping screen.
    void narrowDefaultFitsWithoutReport()
    {
        vxtest::RuntimeSandbox box;
        ColumnMapping mapping;
        Open(mapping, 12);
        const int shown = TheErrorLog().displayCount();
        QVERIFY(LoadADefaultMapping(mapping, "tblDefaultMappingCUT"));
        QCOMPARE(Row(mapping),
                 (std::vector<std::string>{"POS", "DESCRIPTION", "MATERIAL", "LENGTH MM", "WIDTH MM", "THICKNESS MM",
                                           "QTY", "SCRIBES", "ORDER NO", kNotUsed, kNotUsed, kNotUsed}));
        QCOMPARE(TheErrorLog().displayCount(), shown);
    }

    void sameColumnTwiceShowsTheHigherField()
    {
        vxtest::RuntimeSandbox box;
        box.execDef("CREATE TABLE tblDefaultMappingTwice (IDNum INTEGER, UserLabel TEXT, PF_Col INTEGER);"
                    "INSERT INTO tblDefaultMappingTwice VALUES (1, 'NAME', 2), (2, 'WOOD', 2), (4, NULL, 1);");
        ColumnMapping mapping;
        Open(mapping, 3);
        QVERIFY(LoadADefaultMapping(mapping, "tblDefaultMappingTwice"));
        // An empty label leaves its cell empty, so it reads "NOT USED".
        QCOMPARE(Row(mapping), (std::vector<std::string>{kNotUsed, "WOOD", kNotUsed}));
        QCOMPARE(mapping.DisplayLabel(4), std::string());         // a missing label becomes empty text
        QCOMPARE(mapping.DisplayLabel(5), std::string("LENGTH")); // not listed: kept
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
        QTest::newRow("apostrophe in the name") << ""
                                                << "tbl'Quote";
    }
    void badTableChangesNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QString, table);
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        if (!setup.isEmpty())
            box.execDef(setup.toStdString());
        ColumnMapping mapping;
        Open(mapping, 10);
        std::vector<std::string> before = Row(mapping);
        QVERIFY(!LoadADefaultMapping(mapping, table.toStdString()));
        QCOMPARE(Row(mapping), before);
        QCOMPARE(mapping.DisplayLabel(1), std::string("PART"));
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QVERIFY(presenter.prompts[0].text.rfind("Error: ", 0) == 0);
    }
};

QTEST_GUILESS_MAIN(TestDefaultMapping)
#include "tst_DefaultMapping.moc"
