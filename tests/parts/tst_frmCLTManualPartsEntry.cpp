// The manual parts entry screen driven as the operator does: typing parts, deleting rows,
// choosing fields on the panel and saving the list as a parts file read back with SQLite.
#include "../screens/ScreenTestTools.h"
#include "TestSupport.h"
#include "config/modCLTSettings.h"
#include "convert/modCLTScribes.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "start/Messages.h"
#include "start/ProgramState.h"
#include "ui/BoundGrid.h"
#include "ui/PartEntryControls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace vx;
using vxtest::Child;

namespace {
struct Screen {
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedPresenter presenter;
    vxtest::ScriptedFileDialogs dialogs;
    QWidget menu;
    frmCLTManualPartsEntry* form = nullptr;

    explicit Screen(const std::string& setup = "")
    {
        if (!setup.empty())
            box.execDef(setup);
        LoadSettings();
        form = new frmCLTManualPartsEntry(&menu);
        form->Display();
    }
    ~Screen()
    {
        if (form)
            form->Unload();
        vxtest::Settle();
    }
    void type(const char* box, const QString& text)
    {
        if (auto* combo = form->findChild<QComboBox*>(box))
            combo->setEditText(text);
        else
            Child<QLineEdit>(form, box)->setText(text);
    }
    // Types one part (sequence, width, length, part, material); add also presses "ADD THE PARTS".
    void fill(const QString& length, const QString& part = "SHELF", const QString& seq = "1")
    {
        type("txtSeqNum", seq);
        type("txtWidth", "12");
        type("txtLength", length);
        type("cmboPart", part);
        type("cmboMaterial", "BIRCH PLY");
    }
    void add(const QString& length, const QString& part = "SHELF", const QString& seq = "1")
    {
        fill(length, part, seq);
        vxtest::Click(form, "cmdAddTheParts");
    }
    int rows() const { return form->partsGrid()->Rows() - 1; }
    std::string lastPrompt() const { return presenter.prompts.empty() ? "" : presenter.prompts.back().text; }
    std::string def(const std::string& sql) const { return vxtest::QueryScalar(box.defDatabase(), sql); }
    std::string work(const std::string& sql) const
    {
        return vxtest::QueryScalar(box.runtimeFolder() + "/ManualPartsTemplate.mdb", sql);
    }
    // Types a label into the field panel's "Display Label" cell of a mapping row.
    void editLabel(int row, const QString& text)
    {
        BoundGrid* grid = form->labelsGrid();
        QModelIndex index = grid->gridModel()->index(row, 2);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits in a queued call
    }
    int mappingRow(const char* mainName) const
    {
        return std::stoi(
            def(std::string("SELECT IDNum - 1 FROM tblPartsFileMapping WHERE MainName = '") + mainName + "'"));
    }
};
} // namespace

class tst_frmCLTManualPartsEntry : public QObject {
    Q_OBJECT
private slots:
    // Each refusal of the entry check, once; nothing is added.
    void eachRefusalAddsNothing_data()
    {
        QTest::addColumn<QStringList>("entry"); // box, typed text, message
        QTest::newRow("sequence 0") << QStringList{"txtSeqNum", "0", "SEQ_NUM must be > 0"};
        QTest::newRow("quantity empty") << QStringList{"txtQuantity", " ", "Value required for QUANTITY."};
        QTest::newRow("quantity text") << QStringList{"txtQuantity", "two",
                                                      "Value entered for QUANTITY can not be evaluated as a number."};
        QTest::newRow("thickness -1") << QStringList{"txtThickness", "-1", "THICKNESS must be >= 0"};
        QTest::newRow("width 0") << QStringList{"txtWidth", "0", "WIDTH must be > 0"};
        QTest::newRow("length 0") << QStringList{"txtLength", "0", "LENGTH must be > 0"};
        QTest::newRow("part empty") << QStringList{"cmboPart", "  ", "Please select or enter a PART"};
        QTest::newRow("material empty") << QStringList{"cmboMaterial", "", "Please select or enter a MATERIAL"};
        QTest::newRow("scribes beyond the part") << QStringList{"txtScribes", "20|20", ""}; // the list check's text
    }
    void eachRefusalAddsNothing()
    {
        QFETCH(QStringList, entry);
        Screen s("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes'");
        s.fill("30");
        s.type(qPrintable(entry[0]), entry[1]);
        vxtest::Click(s.form, "cmdAddTheParts");
        std::string message = entry[2].toStdString();
        if (message.empty()) {
            bool error = false;
            CheckScribeList(entry[1].toStdString(), error, message, 30);
        }
        QCOMPARE(s.lastPrompt(), message);
        QCOMPARE(s.rows(), 0);
    }

    // The accessories decide which flags and lists are offered, in the boxes and the grid.
    void accessoriesDecideTheEntries_data()
    {
        QTest::addColumn<QStringList>("settings"); // Scribes, SpaceBalls and PocketHoles; MachineType
        QTest::addColumn<QStringList>("hidden");
        const QStringList lists{"txtScribes", "txtSpaceBalls", "chkPocketHoles"};
        QTest::newRow("factory") << QStringList{"0", "2"} << lists + QStringList{"chkB_Grade"};
        QTest::newRow("every accessory, machine 1") << QStringList{"1", "1"} << QStringList{};
        QTest::newRow("machine 0") << QStringList{"0", "0"} << lists + QStringList{"chkB_Grade", "chkPanel"};
    }
    void accessoriesDecideTheEntries()
    {
        QFETCH(QStringList, settings);
        QFETCH(QStringList, hidden);
        Screen s(QString("UPDATE tblSettings SET SettingValue = '%1' WHERE SettingName IN ('Scribes', 'SpaceBalls', "
                         "'PocketHoles'); UPDATE tblSettings SET SettingValue = '%2' WHERE SettingName = 'MachineType'")
                     .arg(settings[0], settings[1])
                     .toStdString());
        const QStringList all{"txtScribes", "txtSpaceBalls", "chkPocketHoles", "chkB_Grade", "chkPanel"};
        const QStringList columns{"SCRIBES", "SPACEBALLS", "POCKETHOLES", "B_GRADE", "PANEL"};
        BoundGrid* grid = s.form->partsGrid();
        for (const QString& box : all)
            QCOMPARE(Child<QWidget>(s.form, qPrintable(box))->isHidden(), hidden.contains(box));
        for (int c = 1; c < grid->Cols(); ++c) {
            const int i =
                columns.indexOf(QString::fromStdString(grid->recordSet()->Columns()[size_t(c - 1)].name).toUpper());
            if (i >= 0)
                QCOMPARE(grid->ColHidden(c), hidden.contains(all[i]));
        }
    }

    // A field whose ManualField holds no value: no entry box, no user-field row, but its
    // grid column stays.
    void manualFieldWithoutValue()
    {
        Screen s("UPDATE tblPartsFileMapping SET ManualField = NULL WHERE MainName IN ('THICKNESS', 'UF_1')");
        QVERIFY(Child<QWidget>(s.form, "txtThickness")->isHidden());
        QVERIFY(s.form->entry()->userFieldGrid()->isRowHidden(0));
        BoundGrid* grid = s.form->partsGrid();
        for (int c = 1; c < grid->Cols(); ++c)
            if (grid->TextMatrix(0, c) == "THICKNESS" || grid->TextMatrix(0, c) == "CABINET")
                QVERIFY(!grid->ColHidden(c));
    }

    // One press, one row: the quantity stays in the row; an empty thickness becomes 0; the
    // focus is back in the first box; Enter in the last box adds too.
    void addingKeepsQuantityInOneRow()
    {
        Screen s;
        s.type("txtQuantity", "4");
        s.type("txtThickness", "");
        s.add("30");
        QCOMPARE(s.rows(), 1);
        QCOMPARE(s.work("SELECT Quantity || ' ' || Thickness || ' ' || Part FROM tblParts"),
                 std::string("4 0.0 SHELF"));
        QCOMPARE(s.form->focusWidget(), Child<QWidget>(s.form, "txtSeqNum"));
        // With scribes and space balls off the part name is the last box.
        QTest::keyClick(Child<QComboBox>(s.form, "cmboMaterial")->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.rows(), 1);
        QTest::keyClick(Child<QComboBox>(s.form, "cmboPart")->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.rows(), 2);
    }

    void partAndMaterialNotInUseGiveNoneAndLearnNothing()
    {
        Screen s("UPDATE tblPartsFileMapping SET ManualField = 0 WHERE MainName IN ('PART', 'MATERIAL', 'WIDTH')");
        const std::string before =
            s.def("SELECT (SELECT COUNT(*) FROM tblPartsCriteria) || ' ' || (SELECT COUNT(*) FROM tblMaterials)");
        QVERIFY(Child<QWidget>(s.form, "cmboPart")->isHidden());
        s.type("txtLength", "30");
        vxtest::Click(s.form, "cmdAddTheParts");
        QCOMPARE(s.rows(), 1);
        QCOMPARE(s.work("SELECT Part || ' ' || Material || ' ' || Width FROM tblParts"), std::string("NONE NONE 1.0"));
        QCOMPARE(s.def("SELECT (SELECT COUNT(*) FROM tblPartsCriteria) || ' ' || (SELECT COUNT(*) FROM tblMaterials)"),
                 before);
    }

    void comboMatchesByCaseAndBlanksAndLearnsNewNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("other case and blanks") << QString("  shelf ") << QString("SHELF");
        QTest::newRow("new name") << QString("Top") << QString("Top");
        QTest::newRow("apostrophe") << QString("Bob's shelf") << QString("Bob's shelf");
    }
    void comboMatchesByCaseAndBlanksAndLearnsNewNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Screen s;
        QComboBox* part = Child<QComboBox>(s.form, "cmboPart");
        const int listed = part->count();
        s.add("30", typed);
        s.add("30", typed);
        QCOMPARE(part->currentText(), shown);
        QCOMPARE(part->count(), listed + (shown == typed ? 1 : 0));
        QCOMPARE(s.rows(), 2);
        QVERIFY(s.presenter.prompts.empty());
        // Learned once, whatever the letter case.
        const std::string quoted = vxtest::Replaced(shown.toStdString(), "'", "''");
        QCOMPARE(s.def("SELECT COUNT(*) FROM tblPartsCriteria WHERE Part = '" + quoted + "'"), std::string("1"));
    }

    void deletionsAskFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<std::vector<std::string>>("left");
        QTest::newRow("selected, No") << "cmdDeleteSelectedRows" << int(vbNo)
                                      << std::vector<std::string>{"10", "20", "30"};
        QTest::newRow("selected, Yes") << "cmdDeleteSelectedRows" << int(vbYes) << std::vector<std::string>{"20"};
        QTest::newRow("all, No") << "cmdDeleteAllParts" << int(vbNo) << std::vector<std::string>{"10", "20", "30"};
        QTest::newRow("all, Yes") << "cmdDeleteAllParts" << int(vbYes) << std::vector<std::string>{};
    }
    void deletionsAskFirst()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(std::vector<std::string>, left);
        Screen s;
        for (const char* length : {"10", "20", "30"})
            s.add(length);
        vxtest::Click(s.form, "cmdDeleteSelectedRows"); // nothing selected: nothing asked
        QVERIFY(s.presenter.prompts.empty());
        s.form->partsGrid()->SelectRow(3);
        s.form->partsGrid()->SelectRow(1, true);
        s.presenter.answer(answer);
        vxtest::Click(s.form, qPrintable(button));
        QCOMPARE(s.presenter.prompts.size(), size_t(1));
        QCOMPARE(s.presenter.prompts[0].style, 260);
        QCOMPARE(vxtest::QueryColumn(s.box.runtimeFolder() + "/ManualPartsTemplate.mdb",
                                     "SELECT CAST(Length AS INTEGER) FROM tblParts ORDER BY AutoIDNum"),
                 left);
        QCOMPARE(s.rows(), int(left.size()));
    }

    void panelEdits_data()
    {
        QTest::addColumn<QStringList>("edit"); // typed into the LENGTH row, stored, message
        QTest::newRow("same text, other case") << QStringList{" length ", "LENGTH", ""};
        QTest::newRow("renamed, blanks trimmed") << QStringList{"  long side ", "LONG SIDE", ""};
        QTest::newRow("another row's label")
            << QStringList{"width", "LENGTH",
                           "The new Display Label matchs an existing Display Label. Display Labels must be unique."};
        QTest::newRow("empty") << QStringList{"  ", "LENGTH", "A Display Label can not be empty"};
    }
    void panelEdits()
    {
        QFETCH(QStringList, edit);
        Screen s;
        vxtest::Click(s.form, "cmdDefineFields");
        QVERIFY(!Child<QWidget>(s.form, "cmdAddTheParts")->isEnabled());
        QVERIFY(Child<QWidget>(s.form, "txtSeqNum")->isEnabled());
        QVERIFY(s.form->labelsGrid()->isRowHidden(s.mappingRow("SCRIBES")));
        s.editLabel(s.mappingRow("LENGTH"), edit[0]);
        QCOMPARE(QString::fromStdString(s.lastPrompt()), edit[2]);
        vxtest::Click(s.form, "cmdMappingGridSaveChanges");
        QCOMPARE(s.def("SELECT UserLabel FROM tblPartsFileMapping WHERE MainName = 'LENGTH'"), edit[1].toStdString());
        QCOMPARE(Child<QLabel>(s.form, "Label2_2")->text(), edit[1]);
        QVERIFY(Child<QWidget>(s.form, "cmdAddTheParts")->isEnabled());
    }

    // A required field stays in use; clearing an optional one hides its entry on SAVE CHANGES
    // and nothing at all is written on CANCEL.
    void panelUseThisField()
    {
        Screen s;
        BoundGridModel* model = s.form->labelsGrid()->gridModel();
        auto untick = [&](const char* field) {
            model->setData(model->index(s.mappingRow(field), 4), Qt::Unchecked, Qt::CheckStateRole);
        };
        const std::string before = s.def("SELECT GROUP_CONCAT(ManualField) FROM tblPartsFileMapping");
        vxtest::Click(s.form, "cmdDefineFields");
        untick("PART");
        QCOMPARE(s.lastPrompt(), std::string("This is a required field."));
        untick("UF_1");
        vxtest::Click(s.form, "cmdCanel");
        QCOMPARE(s.def("SELECT GROUP_CONCAT(ManualField) FROM tblPartsFileMapping"), before);
        vxtest::Click(s.form, "cmdDefineFields");
        untick("UF_1");
        untick("THICKNESS");
        vxtest::Click(s.form, "cmdMappingGridSaveChanges");
        QCOMPARE(
            s.def("SELECT SUM(ManualField) FROM tblPartsFileMapping WHERE MainName IN ('PART', 'UF_1', 'THICKNESS')"),
            std::string("1"));
        QVERIFY(Child<QWidget>(s.form, "txtThickness")->isHidden());
        QVERIFY(s.form->entry()->userFieldGrid()->isRowHidden(0));
        QVERIFY(!s.form->entry()->userFieldGrid()->isRowHidden(1));
    }

    // A panel save that fails on its last row writes none of the rows.
    void failedPanelSaveChangesNothing()
    {
        Screen s("CREATE TRIGGER refuseLast BEFORE UPDATE ON tblPartsFileMapping WHEN NEW.IDNum = 32 "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        vxtest::Click(s.form, "cmdDefineFields");
        s.editLabel(s.mappingRow("LENGTH"), "long side");
        vxtest::Click(s.form, "cmdMappingGridSaveChanges");
        QVERIFY(vxtest::Contains(s.lastPrompt(), "Error: "));
        QCOMPARE(s.def("SELECT UserLabel FROM tblPartsFileMapping WHERE MainName = 'LENGTH'"), std::string("LENGTH"));
        QVERIFY(!Child<QWidget>(s.form, "fraUserLabels")->isHidden());
    }

    void savingNumbersRowsOnlyWithoutTheSequenceField_data()
    {
        QTest::addColumn<bool>("seqInUse");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<std::vector<std::string>>("saved");
        QTest::newRow("sequence not in use")
            << false << QStringList{"1", "1", "1"} << std::vector<std::string>{"1", "2", "3"};
        QTest::newRow("sequence in use") << true << QStringList{"5", "5", "9"}
                                         << std::vector<std::string>{"5", "5", "9"};
    }
    void savingNumbersRowsOnlyWithoutTheSequenceField()
    {
        QFETCH(bool, seqInUse);
        QFETCH(QStringList, typed);
        QFETCH(std::vector<std::string>, saved);
        Screen s(seqInUse ? "" : "UPDATE tblPartsFileMapping SET ManualField = 0 WHERE MainName = 'SEQ_NUM'");
        for (const QString& seq : typed)
            s.add("30", "SHELF", seq);
        // Renaming a label first: the saved file carries the new label.
        vxtest::Click(s.form, "cmdDefineFields");
        s.editLabel(s.mappingRow("UF_1"), "box");
        vxtest::Click(s.form, "cmdMappingGridSaveChanges");
        const std::string target = s.box.file("Kitchen A.rdb");
        s.dialogs.answer(target);
        vxtest::Click(s.form, "cmdSaveToFile");
        QCOMPARE(vxtest::QueryColumn(target, "SELECT SEQ_NUM FROM tblParts ORDER BY AutoIDNum"), saved);
        QCOMPARE(vxtest::QueryScalar(target, "SELECT GROUP_CONCAT(DISTINCT FileName) FROM tblParts"),
                 std::string("Kitchen A"));
        QCOMPARE(vxtest::QueryScalar(target, "SELECT UserLabel FROM tblUserLabels WHERE DBName = 'UF_1'"),
                 std::string("BOX"));
        QCOMPARE(s.rows(), 0);
        s.presenter.prompts.clear();
        vxtest::Click(s.form, "cmdSaveToFile");
        QCOMPARE(s.lastPrompt(), std::string("There are no parts to save."));
    }

    void refusedOrFailedSavesKeepTheList()
    {
        Screen s;
        s.add("30");
        s.add("40");
        s.dialogs.answer(s.box.runtimeFolder() + "/ManualPartsTemplate.mdb");
        vxtest::Click(s.form, "cmdSaveToFile");
        QCOMPARE(s.lastPrompt(),
                 std::string("The file selected is a file used by this software. You can not use this file."));
        s.dialogs.answer(s.box.file("no such folder/job.rdb"));
        vxtest::Click(s.form, "cmdSaveToFile");
        QVERIFY(vxtest::Contains(s.lastPrompt(), "Error: "));
        QCOMPARE(s.rows(), 2);
        // A read-only file is never replaced (even for root).
        const std::string locked = s.box.writeFile("locked.rdb", "old");
        QFile::setPermissions(QString::fromStdString(locked), QFileDevice::ReadOwner);
        s.dialogs.answer(locked);
        vxtest::Click(s.form, "cmdSaveToFile");
        QVERIFY(vxtest::Contains(s.lastPrompt(), "Error: 70"));
        QCOMPARE(vxtest::ReadFile(locked), std::string("old"));
        QCOMPARE(s.rows(), 2);
        s.dialogs.answer(s.box.file("job.rdb"));
        vxtest::Click(s.form, "cmdSaveToFile");
        QCOMPARE(vxtest::QueryScalar(s.box.file("job.rdb"), "SELECT COUNT(*) FROM tblParts"), std::string("2"));
    }

    void closingWithUnsavedRowsAsks_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<bool>("closeControl");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("nothing typed") << false << false << 0 << true;
        QTest::newRow("DONE, No") << true << false << int(vbNo) << false;
        QTest::newRow("DONE, Yes") << true << false << int(vbYes) << true;
        QTest::newRow("close control, No") << true << true << int(vbNo) << false;
        QTest::newRow("close control, Yes") << true << true << int(vbYes) << true;
    }
    void closingWithUnsavedRowsAsks()
    {
        QFETCH(bool, typed);
        QFETCH(bool, closeControl);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        Screen s;
        if (typed)
            s.add("30");
        s.presenter.answer(answer);
        QPointer<frmCLTManualPartsEntry> form = s.form;
        if (closeControl)
            vxtest::CloseWithControlMenu(form);
        else
            vxtest::Click(form, "cmdDone");
        vxtest::Settle();
        QCOMPARE(s.presenter.prompts.size(), size_t(typed ? 1 : 0));
        if (typed)
            QCOMPARE(s.presenter.prompts[0].text, std::string("The parts entered have not been saved. Close anyway?"));
        QCOMPARE(form.isNull() || form->isHidden(), closed);
        QCOMPARE(s.menu.isVisible(), closed);
        if (!closed)
            return;
        s.form = nullptr;
        // The next opening starts an empty list whatever the working table held.
        frmCLTManualPartsEntry again(&s.menu);
        again.Display();
        QCOMPARE(again.partsGrid()->Rows(), 1);
    }
};

QTEST_MAIN(tst_frmCLTManualPartsEntry)
#include "tst_frmCLTManualPartsEntry.moc"
