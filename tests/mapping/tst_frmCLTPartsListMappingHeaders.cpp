// The mapping screen matching columns to fields by the example's header line, and reading
// the example with the quoting option.
#include "../screens/ScreenTestTools.h"
#include "TestSupport.h"

#include "config/modCLTSettings.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "start/Messages.h"
#include "start/ProgramState.h"
#include "ui/BoundGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace vx;
using vxtest::Child;
using vxtest::Click;

class TestMappingHeaders : public QObject {
    Q_OBJECT

    struct Fixture {
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        vxtest::ScriptedFileDialogs dialogs;
        QWidget menu;
        QPointer<frmCLTPartsListMapping> screen = new frmCLTPartsListMapping(&menu);

        Fixture()
        {
            vxtest::UseSettingsFolder(box.file("settings"));
            LoadSettings();
            screen->Display();
        }
        ~Fixture()
        {
            delete screen;
            vxtest::Settle();
        }
        void open(const std::string& bytes, const QString& delimiter, int skip)
        {
            Child<QComboBox>(screen, "cmboDelimiter")->setCurrentText(delimiter);
            Child<QComboBox>(screen, "cmboSkipXLines")->setEditText(QString::number(skip));
            dialogs.answer(box.writeFile("example.csv", bytes));
            Click(screen, "cmdOpenFile");
        }
        QStringList mappingRow() const
        {
            QStringList row;
            for (int c = 1; c <= screen->example().ColumnCount; ++c)
                row << screen->ExampleCell(1, c);
            return row;
        }
    };

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
        QTest::newRow("German, no umlauts") << "name;staerke;laenge;breite;decor" << "Semicolon ( ; )" << QStringList{}
                                            << QStringList{"PART", "THICKNESS", "LENGTH", "WIDTH", "MATERIAL"} << 5;
        QTest::newRow("units, punctuation, umlaut")
            << QString::fromUtf8("Length (mm),width_in,Qty.,part name,St\xC3\x84RKE") << comma << QStringList{}
            << QStringList{"LENGTH", "WIDTH", "QUANTITY", "PART", "THICKNESS"} << 5;
        QTest::newRow("two columns for one field") << "Item,Label,height,Length" << comma << QStringList{}
                                                   << QStringList{"PART", "NOT USED", "LENGTH", "NOT USED"} << 2;
        QTest::newRow("hand choices kept") << "name,width,height,qty" << comma << QStringList{"1=MATERIAL", "4=WIDTH"}
                                           << QStringList{"MATERIAL", "NOT USED", "LENGTH", "WIDTH"} << 1;
        QTest::newRow("a wide export")
            << "#,Item,Stock,Material,Length,Width,Thickness,Quantity,Total,Flags,Bodies" << comma << QStringList{}
            << QStringList{"NOT USED",  "PART",     "NOT USED", "MATERIAL", "LENGTH",  "WIDTH",
                           "THICKNESS", "QUANTITY", "NOT USED", "NOT USED", "NOT USED"}
            << 6;
    }
    void matchColumnsByHeader()
    {
        QFETCH(QString, header);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, byHand);
        QFETCH(QStringList, row);
        QFETCH(int, matched);
        const QString comma = "Comma ( , )";
        Fixture f;
        const QString data = QString(delimiter == comma ? ",x" : ";x").repeated(row.size()).mid(1);
        f.open((header + "\n" + data + "\n").toStdString(), delimiter, 1);
        QVERIFY(Child<QPushButton>(f.screen, "cmdMatchHeaders")->isEnabled());
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

    // A configuration from before the table of header names still matches labels and MainName.
    void withoutTheTableOfHeaderNames()
    {
        Fixture f;
        f.box.execDef("DROP TABLE tblHeaderNames");
        f.open("Part,Qty,Length\nSIDE,1,2\n", "Comma ( , )", 1);
        Click(f.screen, "cmdMatchHeaders");
        QCOMPARE(f.mappingRow(), (QStringList{"PART", "NOT USED", "LENGTH"}));
    }

    void noHeaderWithoutSkippedLines()
    {
        Fixture f;
        f.open("name,width\nSIDE,1\n", "Comma ( , )", 0);
        QVERIFY(Child<QPushButton>(f.screen, "cmdSaveMapping")->isEnabled());
        QVERIFY(!Child<QPushButton>(f.screen, "cmdMatchHeaders")->isEnabled());
    }

    // The example is split again as soon as the quoting choice changes; it is stored on closing.
    void quotingChoiceSplitsTheExampleAgain()
    {
        Fixture f;
        f.open("\"Left, Right\",1\n", "Comma ( , )", 0);
        QCOMPARE(f.screen->example().ColumnCount, 3);
        Child<QCheckBox>(f.screen, "chkQuotedFields")->setChecked(true);
        QCOMPARE(f.screen->example().ColumnCount, 2);
        QCOMPARE(f.screen->ExampleCell(2, 1), QString("Left, Right"));
        Click(f.screen, "cmdDone");
        QCOMPARE(vxtest::QueryScalar(f.box.defDatabase(),
                                     "SELECT SettingValue FROM tblSettings WHERE SettingName = 'QuotedFields'"),
                 std::string("1"));
    }
};

QTEST_MAIN(TestMappingHeaders)
#include "tst_frmCLTPartsListMappingHeaders.moc"
