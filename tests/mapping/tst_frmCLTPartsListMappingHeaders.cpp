// The mapping screen matching columns to fields by the example's header line, and reading
// the example with the quoting option.
#include "MappingScreenTools.h"

using namespace vx;
using maptest::MappingScreenFixture;
using vxtest::Child;
using vxtest::Click;

class TestMappingHeaders : public QObject {
    Q_OBJECT

    // Opens the example with this delimiter and skip count.
    static void Open(maptest::MappingScreenFixture& f, const QString& bytes, const QString& delimiter, int skip)
    {
        Child<QComboBox>(f.screen, "cmboDelimiter")->setCurrentText(delimiter);
        Child<QComboBox>(f.screen, "cmboSkipXLines")->setEditText(QString::number(skip));
        f.open(bytes.toStdString());
    }

private slots:
    // Each row: the header line, its delimiter, columns chosen by hand first ("3=LENGTH"),
    // the mapping row afterwards and the count.
    void matchColumnsByHeader_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("byHand");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("matched");
        const QString comma = "Comma ( , )";
        QTest::newRow("height is a length") << "name,width,height,qty" << comma << QStringList{}
                                            << QStringList{"PART", "WIDTH", "LENGTH", "QUANTITY"} << 4;
        QTest::newRow("German, no umlauts") << "name;staerke;laenge;breite;decor"
                                            << "Semicolon ( ; )" << QStringList{}
                                            << QStringList{"PART", "THICKNESS", "LENGTH", "WIDTH", "MATERIAL"} << 5;
        QTest::newRow("units, punctuation, umlaut")
            << QString::fromUtf8("Length (mm),width_in,Qty.,part name,St\xC3\x84RKE") << comma << QStringList{}
            << QStringList{"LENGTH", "WIDTH", "QUANTITY", "PART", "THICKNESS"} << 5;
        QTest::newRow("two columns for one field") << "Item,Label,height,Length" << comma << QStringList{}
                                                   << QStringList{"PART", "NOT USED", "LENGTH", "NOT USED"} << 2;
        QTest::newRow("hand choices kept") << "name,width,height,qty" << comma << QStringList{"1=MATERIAL", "4=WIDTH"}
                                           << QStringList{"MATERIAL", "NOT USED", "LENGTH", "WIDTH"} << 1;
        QTest::newRow("a wide export") << "#,Item,Stock,Material,Length,Width,Thickness,Quantity,Total,Flags,Bodies"
                                       << comma << QStringList{}
                                       << QStringList{"NOT USED", "PART",     "NOT USED",  "MATERIAL",
                                                      "LENGTH",   "WIDTH",    "THICKNESS", "QUANTITY",
                                                      "NOT USED", "NOT USED", "NOT USED"}
                                       << 6;
        // A configuration from before the table of header names still matches labels and MainName.
        QTest::newRow("without the table of header names")
            << "Part,Qty,Length" << comma << QStringList{} << QStringList{"PART", "NOT USED", "LENGTH"} << 2;
    }
    void matchColumnsByHeader()
    {
        QFETCH(QString, header);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, byHand);
        QFETCH(QStringList, row);
        QFETCH(int, matched);
        const QString comma = "Comma ( , )";
        MappingScreenFixture f;
        if (QTest::currentDataTag() == QString("without the table of header names"))
            f.box.execDef("DROP TABLE tblHeaderNames");
        const QString data = QString(delimiter == comma ? ",x" : ";x").repeated(row.size()).mid(1);
        Open(f, header + "\n" + data + "\n", delimiter, 1);
        QVERIFY(f.enabled("cmdMatchHeaders"));
        BoundGridModel* model = f.screen->mappingGrid()->gridModel();
        for (const QString& choice : byHand) {
            const int column = choice.section('=', 0, 0).toInt();
            QVERIFY(model->setData(model->index(0, column), choice.section('=', 1), Qt::EditRole));
        }
        Click(f.screen, "cmdMatchHeaders");
        QCOMPARE(f.mappingRow(), row);
        QCOMPARE(QString::fromStdString(f.presenter.prompts.back().text),
                 QString("%1 column%2 matched by the header names of row 1.")
                     .arg(matched)
                     .arg(matched == 1 ? " was" : "s were"));
    }

    // The example is split again as soon as the quoting choice changes; it is stored on closing.
    // With no skipped line there is no header to match.
    void quotingChoiceSplitsTheExampleAgain()
    {
        MappingScreenFixture f;
        Open(f, "\"Left, Right\",1\n", "Comma ( , )", 0);
        QCOMPARE(f.screen->example().ColumnCount, 3);
        QVERIFY(f.enabled("cmdSaveMapping") && !f.enabled("cmdMatchHeaders"));
        Child<QCheckBox>(f.screen, "chkQuotedFields")->setChecked(true);
        QCOMPARE(f.screen->example().ColumnCount, 2);
        QCOMPARE(f.screen->ExampleCell(2, 1), QString("Left, Right"));
        Click(f.screen, "cmdDone");
        QCOMPARE(f.setting("QuotedFields"), "1");
    }
};

QTEST_MAIN(TestMappingHeaders)
#include "tst_frmCLTPartsListMappingHeaders.moc"
