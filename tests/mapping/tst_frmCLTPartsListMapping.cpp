// The mapping screen driven as the operator does: open example files of many shapes, choose
// columns in the mapping row or match them by the header line, edit display labels, check,
// clear, save or cancel, load a default mapping, and drop a file onto the window.
#include "../screens/ScreenTestTools.h"

#include "base/ErrorLog.h"
#include "mapping/frmCLTLoadDefaultMapping.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "screens/frmCLTErrorLog.h"

using namespace vx;
using vxtest::Child;
using vxtest::Click;

namespace {

const char* kTenColumns = "1,LEFT SIDE,MAPLE PLY,0.75,23.25,34.5,1,4.5|11,B1,1L\r\n"
                          "2,SHELF,MAPLE PLY,0.75,21.5,34.375,2,,B1,1L\r\n";
const QStringList kFactoryRow{"SEQ_NUM", "PART",     "MATERIAL", "THICKNESS", "WIDTH",
                              "LENGTH",  "QUANTITY", "SCRIBES",  "CABINET",   "EDGE"};

// Drags a file over the window and drops it; true when the window took the drag.
bool DropFile(QWidget* window, const std::string& path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return true;
}

// The mapping screen on a fresh runtime folder, no lines skipped.
struct Fixture : vxtest::ScreenFixture<frmCLTPartsListMapping> {
    Fixture() { Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("0"); }
    // Opens a file with these bytes through the open button.
    std::string open(const std::string& bytes, const std::string& name = "example.csv")
    {
        std::string path = box.writeFile(name, bytes);
        dialogs.answer(path);
        Click(screen, "cmdOpenFile");
        return path;
    }
    // A row of the grid over the file's columns: row 1 is the mapping row, the example below it.
    QStringList mappingRow(int r = 1) const
    {
        QStringList row;
        for (int c = 1; c <= screen->example().ColumnCount; ++c)
            row << screen->ExampleCell(r, c);
        return row;
    }
    // Picks a choice in a mapping-row cell as the drop-down does.
    void choose(int column, const QString& choice)
    {
        BoundGridModel* model = screen->mappingGrid()->gridModel();
        QVERIFY(model->flags(model->index(0, column)) & Qt::ItemIsEditable);
        QVERIFY(model->setData(model->index(0, column), choice, Qt::EditRole));
    }
    // Types a display label for the field with this IDNum.
    void typeLabel(int idNum, const QString& text)
    {
        BoundGridModel* model = screen->labelGrid()->gridModel();
        QVERIFY(model->setData(model->index(idNum - 1, 2), text, Qt::EditRole));
    }
    QString labelCell(int idNum) const { return screen->labelGrid()->TextMatrix(idNum, 3); }
    bool enabled(const char* name) const { return Child<QPushButton>(screen, name)->isEnabled(); }
};

} // namespace

class tst_frmCLTPartsListMapping : public QObject {
    Q_OBJECT

    // Opens the example with this delimiter and skip count.
    static void Open(Fixture& f, const QString& bytes, const QString& delimiter, int skip,
                     const std::string& name = "example.csv")
    {
        Child<QComboBox>(f.screen, "cmboDelimiter")->setCurrentText(delimiter);
        Child<QComboBox>(f.screen, "cmboSkipXLines")->setEditText(QString::number(skip));
        f.open(bytes.toStdString(), name);
    }

private slots:
    void readsTheExampleFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("skip");
        QTest::addColumn<QStringList>("rowCaptions");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<int>("quotedColumns"); // once quoted fields are read
        // Line ends and field splitting in detail are checked on the example file itself.
        QTest::newRow("header skipped, blank lines not counted")
            << QByteArray("Seq,Part,Width\r\n\r\n1,SIDE,10\r\n   \r\n2,TOP,12\r\n") << "Comma ( , )" << 1
            << QStringList{"Row 2", "Row 3"} << QStringList{"1", "SIDE", "10"} << 3;
        QTest::newRow("quotes and apostrophes")
            << QByteArray("\"12\",O'BRIEN SHELF,\"A,B\"\r\n") << "Comma ( , )" << 0 << QStringList{"Row 1"}
            << QStringList{"12", "O BRIEN SHELF", "A", "B"} << 3;
    }
    void readsTheExampleFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, delimiter);
        QFETCH(int, skip);
        QFETCH(QStringList, rowCaptions);
        QFETCH(QStringList, firstRow);
        QFETCH(int, quotedColumns);
        Fixture f;
        // Before a file is open only OPEN and CANCEL work.
        for (const char* b : {"cmdLoadDefaultMapping", "cmdCheckMapping", "cmdSaveMapping", "cmdReset"})
            QVERIFY2(!f.enabled(b), b);
        QVERIFY(f.enabled("cmdOpenFile") && f.enabled("cmdDone"));
        QVERIFY(!Child<QPlainTextEdit>(f.screen, "Text1")->isVisible());
        QCOMPARE(f.screen->fileExtensionBox()->text(), QString("CSV"));
        f.screen->SetSkipFirstXLines();
        QCOMPARE(Child<QComboBox>(f.screen, "cmboSkipXLines")->currentText(), QString("1")); // a header line
        Open(f, bytes, delimiter, skip, "job.cut");
        QVERIFY(f.enabled("cmdSaveMapping"));
        QVERIFY(Child<QPlainTextEdit>(f.screen, "Text1")->isVisible());
        QCOMPARE(f.dialogs.requests.back().title, QString("Open Delimited Parts File"));
        QCOMPARE(f.screen->fileExtensionBox()->text(), QString("cut"));
        const int columns = static_cast<int>(firstRow.size());
        QCOMPARE(f.screen->mappingGrid()->Cols(), columns + 2); // the row captions plus every file column
        QStringList captions;
        for (int r = 2; r < f.screen->mappingGrid()->Rows(); ++r)
            captions << f.screen->ExampleCell(r, 0);
        QCOMPARE(captions, rowCaptions);
        QCOMPARE(f.mappingRow(2), firstRow);
        // The saved mapping, fitted to the width, fills the mapping row; only that row is editable.
        // Columns beyond the file are reset in the table at once, and the log says so.
        QCOMPARE(f.mappingRow(), kFactoryRow.mid(0, columns));
        QCOMPARE(f.def("SELECT PF_Col FROM tblPartsFileMapping WHERE MainName = 'LENGTH'"), "0");
        QVERIFY(vxtest::Contains(TheErrorLog().Text(), "The number of columns in the parts file is less than a "
                                                       "column in the current mapping."));
        BoundGridModel* model = f.screen->mappingGrid()->gridModel();
        QVERIFY(!(model->flags(model->index(1, 1)) & Qt::ItemIsEditable)); // example data
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable)); // the caption
        // With no skipped line there is no header to match; the quoting choice splits the example again.
        QCOMPARE(f.enabled("cmdMatchHeaders"), skip > 0);
        Child<QCheckBox>(f.screen, "chkQuotedFields")->setChecked(true);
        QCOMPARE(f.screen->example().ColumnCount, quotedColumns);
    }

    void inconsistentFileLeavesTheScreenAsItWas()
    {
        Fixture f;
        frmCLTErrorLog window;
        window.InstallAsViewer();
        f.open(kTenColumns);
        QCOMPARE(f.screen->example().ColumnCount, 10);
        const int shown = TheErrorLog().displayCount();
        f.open("Seq,Part\r\n1,SIDE,10\r\n");
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QCOMPARE(TheErrorLog().Text(),
                 std::string("The Number of Columns in each row does not match.\r\n\r\n"
                             "The number of columns defined by comma separation for each row of data "
                             "must be the same. \r\n\r\n"
                             "Parts Information could be placed in the wrong column.\r\n\r\n"
                             "The following lists the row number, followed by the number of columns in the row. \r\n"
                             "Row 1, Columns = 2\r\nRow 2, Columns = 3\r\n"));
        QVERIFY(!f.enabled("cmdSaveMapping"));
        QCOMPARE(f.screen->example().ColumnCount, 10);
        QCOMPARE(f.screen->ExampleCell(2, 2), QString("LEFT SIDE"));
        // The saved mapping was not touched by the refused file.
        QCOMPARE(f.def("SELECT PF_Col FROM tblPartsFileMapping WHERE MainName = 'EDGE' OR UserLabel = 'EDGE'"), "10");
        f.open(kTenColumns); // a reading that goes well takes the old report away
        QVERIFY(TheErrorLog().Text().empty() && !window.isVisible());
    }

    void refusedBeforeReading_data()
    {
        QTest::addColumn<QString>("skip");
        QTest::addColumn<bool>("programFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("skip text") << "two" << false
                                   << "Value entered for Skip first x lines can not be evaluated as a number.";
        QTest::newRow("negative skip") << "-1" << false << "Skip first x lines must be >= 0";
        QTest::newRow("program database") << "0" << true
                                          << "The file selected is a file used by this software. You can not use "
                                             "this file.";
    }
    void refusedBeforeReading()
    {
        QFETCH(QString, skip);
        QFETCH(bool, programFile);
        QFETCH(QString, message);
        Fixture f;
        Child<QComboBox>(f.screen, "cmboSkipXLines")->setEditText(skip);
        f.dialogs.answer(f.box.defDatabase());
        Click(f.screen, "cmdOpenFile");
        QCOMPARE(f.dialogs.requests.size(), size_t(programFile ? 1 : 0));
        QCOMPARE(f.presenter.prompts.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.presenter.prompts[0].text), message);
        QVERIFY(!f.enabled("cmdSaveMapping"));
    }

    void scribesLabelIsHiddenAndRefused()
    {
        Fixture f;
        f.open(kTenColumns);
        BoundGrid* grid = f.screen->labelGrid();
        const int scribesRow = 7; // IDNum 8
        QVERIFY(grid->isRowHidden(scribesRow));
        QVERIFY(!(grid->gridModel()->flags(grid->gridModel()->index(0, 1)) & Qt::ItemIsEditable));
        grid->setRowHidden(scribesRow, false);
        grid->edit(grid->gridModel()->index(scribesRow, 2));
        QVERIFY(grid->findChildren<QLineEdit*>().isEmpty()); // no editor opened
        QCOMPARE(f.presenter.prompts.back().text, "LABEL FOR SCRIBES CAN NOT BE CHANGED.");

        // On the same example: clearing every selection asks first, then the mapping is checked.
        f.presenter.answer(vbNo);
        Click(f.screen, "cmdReset");
        QCOMPARE(f.presenter.prompts.back().title, "Confirm Mapping");
        QCOMPARE(f.presenter.prompts.back().style, int(vbYesNo));
        QVERIFY(f.presenter.prompts.back().text.find("\r\n\r\nAre you sure you want to Clear All Selections?") !=
                std::string::npos);
        QCOMPARE(f.mappingRow(), kFactoryRow);
        Click(f.screen, "cmdCheckMapping");
        QCOMPARE(f.presenter.prompts.back().text, "Your Mapping appears to be complete and valid.");
        const size_t prompts = f.presenter.prompts.size();
        f.choose(5, "NOT USED"); // WIDTH is required; the log's wording is checked on the model
        Click(f.screen, "cmdCheckMapping");
        QCOMPARE(f.presenter.prompts.size(), prompts);
        QVERIFY(TheErrorLog().Text().find("DB Name: WIDTH, Display Label: WIDTH") != std::string::npos);
        f.presenter.answer(vbYes);
        Click(f.screen, "cmdReset");
        QCOMPARE(f.mappingRow(), QStringList(10, "NOT USED"));
    }

    void savingStoresMappingAndSettings()
    {
        Fixture f;
        f.menu.hide();
        Open(f, "Pos;Name;Wood;W;L\r\n7;SIDE;OAK;10;20\r\n", "Semicolon ( ; )", 1, "job.vtx");
        Child<QCheckBox>(f.screen, "chkQuotedFields")->setChecked(true);
        f.presenter.answer(vbYes);
        Click(f.screen, "cmdReset");
        f.choose(2, "PART");
        f.choose(4, "WIDTH");
        f.choose(5, "LENGTH");
        f.choose(3, "MATERIAL");
        f.typeLabel(2, "wood");
        f.typeLabel(14, "o'neil"); // an apostrophe in a label is stored and found again
        f.choose(1, "O'NEIL");
        Click(f.screen, "cmdSaveMapping");
        vxtest::Settle();
        QVERIFY(f.screen.isNull());
        QVERIFY(f.menu.isVisible());
        // SEQ_NUM and QUANTITY neither required nor mapped; SCRIBES always a manual field.
        QCOMPARE(f.def("SELECT group_concat(PF_Col || '/' || UserLabel || '/' || ManualField, ' ') FROM (SELECT * "
                       "FROM tblPartsFileMapping WHERE MainName IN ('PART', 'MATERIAL', 'UF_2', 'SEQ_NUM', "
                       "'SCRIBES', 'QUANTITY') ORDER BY IDNum)"),
                 "2/PART/1 3/WOOD/1 0/QUANTITY/0 0/SEQ_NUM/0 0/SCRIBES/1 1/O'NEIL/1");
        QCOMPARE(f.setting("MappingSkipFirstXLines"), "1");
        QCOMPARE(f.setting("FileExtension"), "VTX");
        QCOMPARE(f.def("SELECT Delimiter FROM tblDelimiters WHERE Selected <> 0"), ";");
        QCOMPARE(State().Delimiter, ";");
        QCOMPARE(f.setting("QuotedFields"), "1");
    }

    // DIMENSIONS gives width and length, not beside a width column; its options are stored.
    void dimensionsInOneCell()
    {
        Fixture f;
        f.menu.hide();
        Open(f, "Part,Size,Wide\r\nA,720x800,1\r\n", "Comma ( , )", 1);
        QCOMPARE(f.labelCell(33), "DIMENSIONS");
        f.presenter.answer(vbYes);
        Click(f.screen, "cmdReset");
        f.choose(1, "PART");
        f.choose(2, "DIMENSIONS");
        auto* order = Child<QComboBox>(f.screen, "cmboDimensionsOrder");
        QCOMPARE(order->currentText(), QString("L\u00D7W\u00D7T"));
        order->setCurrentIndex(order->findText("W\u00D7L"));
        Click(f.screen, "cmdCheckMapping");
        QCOMPARE(f.presenter.prompts.back().text, "Your Mapping appears to be complete and valid.");
        f.choose(3, "WIDTH");
        Click(f.screen, "cmdCheckMapping");
        QVERIFY(TheErrorLog().Text().find("DB Name: WIDTH, Display Label: WIDTH can not have a column of its own") !=
                std::string::npos);
        auto* feet = Child<QCheckBox>(f.screen, "chkFeetAndInches");
        Child<QCheckBox>(f.screen, "chkLengthsWithUnits")->setChecked(true);
        feet->setChecked(true);
        Child<QCheckBox>(f.screen, "chkSortDimensions")->setChecked(true);
        f.choose(3, "NOT USED");
        Click(f.screen, "cmdSaveMapping");
        vxtest::Settle();
        QCOMPARE(f.def("SELECT PF_Col FROM tblPartsFileMapping WHERE MainName = 'DIMENSIONS'"), "2");
        QCOMPARE(f.setting("DimensionsOrder") + f.setting("SortDimensions") + f.setting("FeetAndInches"), "WL11");
    }

    void defaultMappingWiderThanTheExample()
    {
        Fixture f;
        f.open("1,SIDE,2,30,10,0.75,MAPLE,LONG\r\n"); // eight columns
        Click(f.screen, "cmdLoadDefaultMapping");
        frmCLTLoadDefaultMapping* dialog = f.screen->defaultMappingDialog();
        QVERIFY(dialog && dialog->isVisible());
        BoundGrid* grid = dialog->grid();

        // Nothing selected: the load button does nothing.
        grid->clearSelection();
        Click(dialog, "cmdLoadMapping");
        QVERIFY(dialog->isVisible());
        QVERIFY(f.presenter.prompts.empty());

        const int shown = TheErrorLog().displayCount();
        grid->SelectRow(3);
        Click(dialog, "cmdLoadMapping");
        vxtest::Settle();
        QVERIFY(f.screen->defaultMappingDialog() == nullptr);
        QCOMPARE(f.presenter.prompts.back().text,
                 std::string("After the default mapping has been loaded, you will need to use \"Save the Mapping\" to "
                             "have it saved."));
        QCOMPARE(f.screen->fileExtensionBox()->text(), QString("TXT"));
        QCOMPARE(f.mappingRow(),
                 (QStringList{"CAB NO", "PART NAME", "QTY", "LENGTH", "WIDTH", "THICK", "MATERIAL", "GRAIN"}));
        QCOMPARE(f.labelCell(16), QString("COMMENT"));
        QCOMPARE(TheErrorLog().displayCount(), shown + 1);
        QVERIFY(TheErrorLog().Text().find("have been ignored.") != std::string::npos);

        // The close box, like cancelling, keeps the saved mapping but stores the extension the load typed.
        vxtest::CloseWithControlMenu(f.screen);
        vxtest::Settle();
        QCOMPARE(f.def("SELECT UserLabel FROM tblPartsFileMapping WHERE IDNum = 1"), "PART");
        QCOMPARE(f.setting("FileExtension"), "TXT");
    }

    void droppedFileOpensAsIfChosen()
    {
        Fixture f;
        std::string path = f.box.writeFile("dropped.txt", kTenColumns);
        QVERIFY(DropFile(f.screen, path));
        QVERIFY(f.dialogs.requests.empty());
        QCOMPARE(f.mappingRow(), kFactoryRow);
        QCOMPARE(f.screen->fileExtensionBox()->text(), QString("txt"));
        QVERIFY(f.enabled("cmdSaveMapping"));

        // A folder is not a file: the drag is not taken.
        QVERIFY(!DropFile(f.screen, f.box.root()));
        // The convert screen takes a dropped cut list the same way.
        frmCLTProcessPartsFile convert(&f.menu);
        convert.Display(true);
        QVERIFY(DropFile(&convert, path));
        QVERIFY(f.dialogs.requests.empty());
        QCOMPARE(convert.partsGrid()->Rows(), 2); // one header line skipped
        QVERIFY(Child<QLabel>(&convert, "lblFileOpened")->text().contains("dropped.txt"));
        convert.CommandLineShutdown();
    }

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
        Fixture f;
        if (QTest::currentDataTag() == QString("without the table of header names"))
            f.box.execDef("DROP TABLE tblHeaderNames");
        const QString data = QString(delimiter.startsWith("Comma") ? ",x" : ";x").repeated(row.size()).mid(1);
        Open(f, header + "\n" + data + "\n", delimiter, 1);
        QVERIFY(f.enabled("cmdMatchHeaders"));
        for (const QString& choice : byHand)
            f.choose(choice.section('=', 0, 0).toInt(), choice.section('=', 1));
        Click(f.screen, "cmdMatchHeaders");
        QCOMPARE(f.mappingRow(), row);
        QCOMPARE(QString::fromStdString(f.presenter.prompts.back().text),
                 QString("%1 column%2 matched by the header names of row 1.")
                     .arg(matched)
                     .arg(matched == 1 ? " was" : "s were"));
    }
};

QTEST_MAIN(tst_frmCLTPartsListMapping)
#include "tst_frmCLTPartsListMapping.moc"
