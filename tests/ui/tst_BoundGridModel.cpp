// The shared grid: model contract, cell texts, drop-downs, check boxes, edit hooks,
// write-through, hidden columns and widths, and a million rows.
#include "TestSupport.h"
#include "config/TableStore.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
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

private slots:
    void modelTesterPassesOnBoundAndRebound()
    {
        auto c = CriteriaDb();
        RecordSet rs(c, "SELECT * from crit order by Part");
        BoundGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.Bind(&rs);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 5);
        c->Execute("DELETE FROM crit WHERE Part = 'SIDE'");
        rs.Requery();
        model.Refresh();
        QCOMPARE(model.rowCount(), 2);
        model.Unbind();
        QCOMPARE(model.rowCount(), 0);
    }

    void comboList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("keyed: number shows its text")
            << "#1;Cabinet Parts|#2;Solid Wood" << QVariant(2) << "Solid Wood";
        QTest::newRow("keyed: unknown number shows itself") << "#1;Cabinet Parts|#2;Solid Wood" << QVariant(7) << "7";
        QTest::newRow("keyed: text with apostrophe") << "#1;O'Brien's|#2;B" << QVariant(1) << "O'Brien's";
        QTest::newRow("plain choices") << "A|B|C" << QVariant("B") << "B";
        QTest::newRow("keyed: text key in any letter case") << "#S;Solid|#C;Cabinet" << QVariant("c") << "Cabinet";
    }
    void comboList()
    {
        QFETCH(QString, list);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        ComboList combo = ComboList::Parse(list);
        Variant v = value.typeId() == QMetaType::Int ? Variant(value.toInt()) : Variant(value.toString().toStdString());
        QCOMPARE(combo.ShownFor(v), shown);
    }

    void gridAddressesHeaderRowAndColumnsFromOne()
    {
        auto c = CriteriaDb();
        RecordSet rs(c, "SELECT * from crit order by Part");
        BoundGrid grid;
        grid.Bind(&rs);
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.Cols(), 6);
        QCOMPARE(grid.TextMatrix(0, 2), QString("Part"));
        QCOMPARE(grid.TextMatrix(1, 2), QString("BACK"));
        grid.SetColHeading(2, "PART NAME");
        QCOMPARE(grid.TextMatrix(0, 2), QString("PART NAME"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QString("PART NAME"));
        grid.SetColComboList(4, "#1;Cabinet Parts|#2;Solid Wood");
        QCOMPARE(grid.TextMatrix(2, 4), QString("Solid Wood"));
        QCOMPARE(grid.TextMatrix(1, 4), QString("7"));
        grid.SetColHidden(1, true);
        QVERIFY(grid.ColHidden(1));
        QVERIFY(!grid.ColHidden(2));
        grid.SetColWidthTwips(2, 2000);
        QCOMPARE(grid.columnWidth(1), BoundGrid::TwipsToPixels(2000, grid.logicalDpiX()));
        QCOMPARE(BoundGrid::TwipsToPixels(1500, 96), 100);
    }

    void editsWriteThroughAndHooksDecide()
    {
        auto c = CriteriaDb();
        RecordSet rs(c, "SELECT * from crit order by Part");
        BoundGrid grid;
        grid.Bind(&rs);
        BoundGridModel* m = grid.gridModel();
        QModelIndex part = m->index(0, 1);
        QVERIFY(!(m->flags(part) & Qt::ItemIsEditable)); // grid not editable yet
        grid.SetEditable(true);
        QVERIFY(m->flags(part) & Qt::ItemIsEditable);
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable)); // the key column never

        int after = 0;
        m->beforeEdit = [](int, int column) { return column != 4; };
        m->afterEdit = [&](int, int) { ++after; };
        QVERIFY(!(m->flags(m->index(0, 4)) & Qt::ItemIsEditable));
        QVERIFY(!m->setData(m->index(0, 4), "Z", Qt::EditRole));

        QVERIFY(m->setData(part, "BACK PANEL", Qt::EditRole));
        QCOMPARE(c->ScalarQuery("SELECT Part FROM crit WHERE Grade = 'C'").toText(), std::string("BACK PANEL"));
        // Boolean column: a check box that stores 0/1.
        QModelIndex valid = m->index(0, 2);
        QVERIFY(m->flags(valid) & Qt::ItemIsUserCheckable);
        QCOMPARE(m->data(valid, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(m->setData(valid, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(c->ScalarQuery("SELECT Valid_Part FROM crit WHERE Grade = 'C'").rawLong(), 0);
        // Drop-down column stores the number behind the text.
        m->beforeEdit = {};
        grid.SetColComboList(4, "#1;Cabinet Parts|#2;Solid Wood");
        QVERIFY(m->setData(m->index(0, 3), QVariant(qlonglong(2)), Qt::EditRole));
        QCOMPARE(c->ScalarQuery("SELECT Process FROM crit WHERE Grade = 'C'").rawLong(), 2);
        QCOMPARE(grid.TextMatrix(1, 4), QString("Solid Wood"));
        QCOMPARE(after, 3);
    }

    void refusedValueIsReportedAndNotWritten()
    {
        vxtest::ScriptedPresenter presenter;
        auto c = CriteriaDb();
        RecordSet rs(c, "SELECT * from crit order by Part");
        BoundGrid grid;
        grid.Bind(&rs);
        grid.SetEditable(true);
        QVERIFY(!grid.gridModel()->setData(grid.gridModel()->index(0, 3), "lots", Qt::EditRole));
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QVERIFY(presenter.prompts[0].text.rfind("Error: 13, ", 0) == 0);
        QCOMPARE(c->ScalarQuery("SELECT Process FROM crit WHERE Grade = 'C'").rawLong(), 7);
    }

    void millionRowsStayVirtual()
    {
        auto c = Connection::OpenMemory();
        c->Execute("CREATE TABLE big (AutoIDNum INTEGER PRIMARY KEY, PART TEXT, LENGTH REAL)");
        c->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
                   "INSERT INTO big SELECT i, 'P' || i, i * 0.5 FROM n");
        RecordSet rs(c, "SELECT * from big");
        BoundGrid grid;
        grid.resize(800, 600);
        QElapsedTimer timer;
        timer.start();
        grid.Bind(&rs);
        grid.AutoSize();
        grid.show();
        grid.scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(grid.TextMatrix(1000000, 2), QString("P1000000"));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    }

    void classicFiltersBecomeQtFilters_data()
    {
        QTest::addColumn<QString>("classic");
        QTest::addColumn<QString>("qt");
        QTest::newRow("parts files") << "Parts Files (*.csv)|*.csv|All Files (*.*)|*.*"
                                     << "Parts Files (*.csv);;All Files (*.*)";
        QTest::newRow("several patterns") << "Text|*.txt;*.csv"
                                          << "Text (*.txt *.csv)";
        QTest::newRow("odd trailing entry ignored") << "Veltrax Parts Files (*.rdb)|*.rdb|Broken"
                                                    << "Veltrax Parts Files (*.rdb)";
    }
    void classicFiltersBecomeQtFilters()
    {
        QFETCH(QString, classic);
        QFETCH(QString, qt);
        QCOMPARE(QtFilterFrom(classic), qt);
    }
};

QTEST_MAIN(tst_BoundGridModel)
#include "tst_BoundGridModel.moc"
