// The table store is what every screen grid and every setting sits on: navigation,
// filters, write-through edits and the deleted-row cursor rule are checked here. Damaged
// files and missing tables are checked through the console (tst_Faults).
#include "config/TableStore.h"
#include "config/VxError.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vx;

class TestTableStore : public QObject {
    Q_OBJECT

    std::shared_ptr<Connection> m_conn;
    QTemporaryDir m_dir;

    std::vector<std::string> Column(RecordSet& rs, const char* name)
    {
        std::vector<std::string> out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            out.push_back(rs.Value(name).toText());
        return out;
    }

private slots:
    void init()
    {
        QString path = m_dir.filePath("t.mdb");
        QFile::remove(path);
        // An empty file is a valid empty database.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        m_conn = Connection::Open(path.toStdString());
        m_conn->Execute("CREATE TABLE tblMaterials (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, "
                        "Material TEXT COLLATE NOCASE, Qty INTEGER, Width REAL, Valid BOOLEAN DEFAULT 0);"
                        "INSERT INTO tblMaterials (Material, Qty, Width, Valid) VALUES "
                        "('MAPLE', 2, 12.5, 1), ('birch', 1, 3, 0), ('O''Brien oak', 5, 1.25, 1), ('ASH', 0, 7, 0);");
    }

    void columnsAndTypes()
    {
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        QCOMPARE(rs.RecordCount(), 4);
        QCOMPARE(rs.Columns().size(), size_t(5));
        QVERIFY(rs.Columns()[0].primaryKey);
        QCOMPARE(rs.Columns()[1].type, FieldType::Text);
        QCOMPARE(rs.Columns()[2].type, FieldType::Long);
        QCOMPARE(rs.Columns()[3].type, FieldType::Double);
        QCOMPARE(rs.Columns()[4].type, FieldType::Boolean);
        QCOMPARE(rs.ColumnIndex("material"), 1);
        QCOMPARE(rs.ColumnIndex("nope"), -1);
        QVERIFY_THROWS_EXCEPTION(VxError, rs.Value("nope"));
    }

    void whereOrderFilterAndSort()
    {
        RecordSet rs(m_conn, "SELECT * from tblMaterials where Qty > 0 order by Material asc");
        QCOMPARE(Column(rs, "Material"), (std::vector<std::string>{"birch", "MAPLE", "O'Brien oak"}));
        // Filters compare text without regard to case, as the stored files always did.
        rs.SetFilter("Material = 'maple'");
        QCOMPARE(rs.RecordCount(), 1);
        QCOMPARE(rs.Value("Qty").toLong(), 2);
        rs.SetFilter("Material = " + SqlQuote("O'Brien oak"));
        QCOMPARE(rs.RecordCount(), 1);
        rs.SetFilter("");
        QCOMPARE(rs.RecordCount(), 3);
        rs.SetSort("Qty desc");
        QCOMPARE(Column(rs, "Qty"), (std::vector<std::string>{"5", "2", "1"}));
    }

    void addUpdateDeleteWriteThrough()
    {
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        rs.AddNew();
        rs.SetValue("Material", "WALNUT");
        rs.SetValue("Qty", "3.5"); // whole-number columns round half to even
        rs.SetValue("Valid", -1);  // any non-zero Boolean is stored as 1
        rs.Update();
        QCOMPARE(rs.RecordCount(), 5);
        QCOMPARE(rs.Value("Material").toText(), std::string("WALNUT"));
        QCOMPARE(m_conn->ScalarQuery("SELECT Qty FROM tblMaterials WHERE Material='WALNUT'").toLong(), 4);
        QCOMPARE(m_conn->ScalarQuery("SELECT Valid FROM tblMaterials WHERE Material='WALNUT'").toLong(), 1);
        QVERIFY(rs.Value("AutoIDNum").toLong() > 4);

        rs.MoveFirst();
        rs.SetValue("Width", 99.0);
        QCOMPARE(rs.Value("Width").toDouble(), 99.0); // pending edit visible before Update
        rs.Update();
        QCOMPARE(m_conn->ScalarQuery("SELECT Width FROM tblMaterials WHERE Material='MAPLE'").toDouble(), 99.0);

        rs.SetValueAt(1, 1, std::string("BIRCH"));
        QCOMPARE(rs.ValueAt(1, 1).toText(), std::string("BIRCH"));
        QCOMPARE(
            m_conn->ScalarQuery("SELECT count(*) FROM tblMaterials WHERE Material='BIRCH' COLLATE BINARY").toLong(), 1);
    }

    void deleteInLoopVisitsEveryRow()
    {
        // The classic loop "if condition then Delete; MoveNext" must not skip the row that
        // slides into the deleted row's place.
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            if (rs.Value("Qty").toLong() <= 2)
                rs.Delete();
        QCOMPARE(m_conn->ScalarQuery("SELECT count(*) FROM tblMaterials").toLong(), 1);
        QCOMPARE(rs.RecordCount(), 1);
        rs.MoveFirst();
        QCOMPARE(rs.Value("Material").toText(), std::string("O'Brien oak"));
    }

    void findSearchesForward()
    {
        RecordSet rs(m_conn, "SELECT * from tblMaterials order by AutoIDNum asc");
        QVERIFY(rs.Find("Qty=0"));
        QCOMPARE(rs.Value("Material").toText(), std::string("ASH"));
        rs.MoveFirst();
        rs.MoveNext();
        QVERIFY(!rs.Find("Material='MAPLE'"));
        QVERIFY(rs.Eof());
    }

    void deleteStatementAndInMemory()
    {
        m_conn->Execute("Delete * from tblMaterials");
        QCOMPARE(m_conn->ScalarQuery("SELECT count(*) FROM tblMaterials").toLong(), 0);

        RecordSet mem = RecordSet::InMemory({{"Name", FieldType::Text}, {"Count", FieldType::Long}});
        mem.AddNew();
        mem.SetValue("Name", "a");
        mem.SetValue("Count", 2);
        mem.Update();
        QCOMPARE(mem.RecordCount(), 1);
        QCOMPARE(mem.Value("Count").toLong(), 2);
    }

    void transactionRollsBackUnlessCommitted()
    {
        {
            Transaction tx(*m_conn);
            m_conn->Execute("DELETE FROM tblMaterials");
        }
        QCOMPARE(m_conn->ScalarQuery("SELECT count(*) FROM tblMaterials").toLong(), 4);
    }
};

QTEST_APPLESS_MAIN(TestTableStore)
#include "tst_TableStore.moc"
