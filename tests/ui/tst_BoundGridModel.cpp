// The shared grid: model contract, cells written through, edit hooks and refusals, drop-down
// lists and file filters (check boxes and drop-downs are edited on the convert screen).
#include "TestSupport.h"
#include "config/TableStore.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace vx;

class tst_BoundGridModel : public QObject {
    Q_OBJECT

    static std::shared_ptr<Connection> CriteriaDb()
    {
        auto c = Connection::OpenMemory();
        c->Execute("CREATE TABLE crit (AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT, Part TEXT COLLATE NOCASE, "
                   "Valid_Part BOOLEAN NOT NULL DEFAULT 1, Process INTEGER DEFAULT 1, Grade TEXT)");
        c->Execute("INSERT INTO crit (Part, Valid_Part, Process, Grade) VALUES ('SIDE', 1, 1, 'A'), "
                   "('O''Brien shelf', 0, 2, 'B'), ('BACK', 1, 7, 'C')");
        return c;
    }
    // The criteria bound to a grid; grid row 1 is BACK (Grade C).
    struct Bound {
        std::shared_ptr<Connection> c = CriteriaDb();
        RecordSet rs{c, "SELECT * from crit order by Part"};
        BoundGrid grid;
        Bound() { grid.Bind(&rs); }
        Variant back(const std::string& col) { return c->ScalarQuery("SELECT " + col + " FROM crit WHERE Grade='C'"); }
    };

private slots:
    void comboList()
    {
        auto shown = [](const char* list, const Variant& v) { return ComboList::Parse(list).ShownFor(v); };
        const char* keyed = "#1;Cabinet Parts|#2;Solid Wood";
        QCOMPARE(shown(keyed, 2), "Solid Wood");
        QCOMPARE(shown(keyed, 7), "7"); // an unknown number shows itself
        QCOMPARE(shown("#1;O'Brien's|#2;B", 1), "O'Brien's");
        QCOMPARE(shown("A|B|C", std::string("B")), "B");
        QCOMPARE(shown("#S;Solid|#C;Cabinet", std::string("c")), "Cabinet"); // text keys in any letter case
    }

    void editsWriteThroughHooksDecideRefusalsReported()
    {
        vxtest::ScriptedPresenter presenter;
        Bound b;
        BoundGridModel* m = b.grid.gridModel();
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QModelIndex part = m->index(0, 1);
        QVERIFY(!(m->flags(part) & Qt::ItemIsEditable)); // grid not editable yet
        b.grid.SetEditable(true);
        QVERIFY(m->flags(part) & Qt::ItemIsEditable);
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable)); // the key column never
        // A value the column cannot hold is reported and not written.
        QVERIFY(!m->setData(m->index(0, 3), "lots", Qt::EditRole));
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QVERIFY(presenter.prompts[0].text.rfind("Error: 13, ", 0) == 0);
        QCOMPARE(b.back("Process").rawLong(), 7);

        int after = 0;
        m->beforeEdit = [](int, int column) { return column != 4; };
        m->afterEdit = [&](int, int) { ++after; };
        QVERIFY(!(m->flags(m->index(0, 4)) & Qt::ItemIsEditable));
        QVERIFY(!m->setData(m->index(0, 4), "Z", Qt::EditRole));
        QVERIFY(m->setData(part, "BACK PANEL", Qt::EditRole));
        QCOMPARE(b.back("Part").toText(), std::string("BACK PANEL"));
        QCOMPARE(after, 1);
        // The model keeps its contract through a requery and an unbind.
        b.c->Execute("DELETE FROM crit WHERE Part = 'SIDE'");
        b.rs.Requery();
        m->Refresh();
        QCOMPARE(m->rowCount(), 2);
        m->Unbind();
        QCOMPARE(m->rowCount(), 0);
    }

    void classicFiltersBecomeQtFilters()
    {
        QCOMPARE(QtFilterFrom("Parts Files (*.csv)|*.csv|All Files (*.*)|*.*"), "Parts Files (*.csv);;All Files (*.*)");
        QCOMPARE(QtFilterFrom("Text|*.txt;*.csv"), "Text (*.txt *.csv)"); // several patterns
        QCOMPARE(QtFilterFrom("Veltrax Parts Files (*.rdb)|*.rdb|Broken"), "Veltrax Parts Files (*.rdb)"); // odd entry
    }
};

QTEST_MAIN(tst_BoundGridModel)
#include "tst_BoundGridModel.moc"
