// The table store under every grid and setting (damaged files and missing tables: tst_Faults).
#include "config/TableStore.h"

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
    Variant Scalar(const std::string& sql) { return m_conn->ScalarQuery(sql); }
    long Count() { return Scalar("SELECT count(*) FROM tblMaterials").toLong(); }

private slots:
    void init()
    {
        QString path = m_dir.filePath("t.mdb");
        m_conn.reset();
        QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an empty file is a valid empty database
        m_conn = Connection::Open(path.toStdString());
        m_conn->Execute("CREATE TABLE tblMaterials (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, "
                        "Material TEXT COLLATE NOCASE, Qty INTEGER, Width REAL, Valid BOOLEAN DEFAULT 0);"
                        "INSERT INTO tblMaterials (Material, Qty, Width, Valid) VALUES "
                        "('MAPLE', 2, 12.5, 1), ('birch', 1, 3, 0), ('O''Brien oak', 5, 1.25, 1), ('ASH', 0, 7, 0);");
    }

    void whereOrderFilterSortAndFind()
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
        rs.SetSort("Qty desc");
        QCOMPARE(Column(rs, "Qty"), (std::vector<std::string>{"5", "2", "1"}));
        rs.MoveFirst();
        QVERIFY(rs.Find("Qty=1"));
        QCOMPARE(rs.Value("Material").toText(), std::string("birch"));
        QVERIFY(!rs.Find("Qty=5")); // only forward from the current row
        QVERIFY(rs.Eof());
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
        QCOMPARE(rs.Value("Material").toText(), std::string("WALNUT")); // the added row is current
        QVERIFY(rs.Value("AutoIDNum").toLong() > 4);
        QCOMPARE(Scalar("SELECT Qty || Valid FROM tblMaterials WHERE Material='WALNUT'").toText(), std::string("41"));

        rs.MoveFirst();
        rs.SetValue("Width", 99.0);
        QCOMPARE(rs.Value("Width").toDouble(), 99.0); // pending edit visible before Update
        rs.Update();
        QCOMPARE(Scalar("SELECT Width FROM tblMaterials WHERE Material='MAPLE'").toDouble(), 99.0);

        rs.SetValueAt(1, 1, std::string("BIRCH"));
        QCOMPARE(Scalar("SELECT count(*) FROM tblMaterials WHERE Material='BIRCH' COLLATE BINARY").toLong(), 1);
    }

    void deleteInLoopVisitsEveryRow()
    {
        // The loop "if condition then Delete; MoveNext" must not skip the row sliding into the deleted one's place.
        RecordSet rs(m_conn, "SELECT * from tblMaterials");
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            if (rs.Value("Qty").toLong() <= 2)
                rs.Delete();
        QCOMPARE(Count(), 1);
        QCOMPARE(Column(rs, "Material"), std::vector<std::string>{"O'Brien oak"});
    }

    void transactionRollsBackUnlessCommitted()
    {
        {
            Transaction tx(*m_conn);
            m_conn->Execute("Delete * from tblMaterials"); // the stored queries' form of DELETE
            QCOMPARE(Count(), 0);
        }
        QCOMPARE(Count(), 4);
    }
};

QTEST_APPLESS_MAIN(TestTableStore)
#include "tst_TableStore.moc"
