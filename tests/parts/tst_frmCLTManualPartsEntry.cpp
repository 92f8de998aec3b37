// The manual parts entry screen driven as the operator does: typing parts, deleting rows,
// choosing fields on the panel and saving the list as a parts file read back with SQLite.
#include "../screens/ScreenTestTools.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "ui/PartEntryControls.h"

using namespace vx;
using vxtest::Child;
using vxtest::Click;

namespace {
struct Screen : vxtest::ScreenFixture<frmCLTManualPartsEntry> {
    using ScreenFixture::ScreenFixture;
    void type(const char* name, const QString& text)
    {
        if (auto* combo = screen->findChild<QComboBox*>(name))
            combo->setEditText(text);
        else
            Child<QLineEdit>(screen, name)->setText(text);
    }
    // Types one part; add also presses "ADD THE PARTS".
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
        Click(screen, "cmdAddTheParts");
    }
    int rows() const { return screen->partsGrid()->Rows() - 1; }
    std::string work(const std::string& sql) const
    {
        return vxtest::QueryScalar(screen->list().WorkingDatabasePath(), sql);
    }
    // Types a label into the field panel's "Display Label" cell of a field.
    void editLabel(const char* mainName, const QString& text)
    {
        BoundGrid* grid = screen->labelsGrid();
        QModelIndex index = grid->gridModel()->index(mappingRow(mainName), 2);
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
        auto row = [](const char* box, const char* typed, const char* message) {
            QTest::newRow(box) << QStringList{box, typed, message};
        };
        row("txtSeqNum", "0", "SEQ_NUM must be > 0");
        row("txtQuantity", " ", "Value required for QUANTITY.");
        row("txtQuantity", "two", "Value entered for QUANTITY can not be evaluated as a number.");
        row("txtThickness", "-1", "THICKNESS must be >= 0");
        row("txtWidth", "0", "WIDTH must be > 0");
        row("txtLength", "0", "LENGTH must be > 0");
        row("cmboPart", "  ", "Please select or enter a PART");
        row("cmboMaterial", "", "Please select or enter a MATERIAL");
        row("txtScribes", "20|20",
            "The last absolute Scribe position (sum of incremental positions) exceeds the part length.");
    }
    void eachRefusalAddsNothing()
    {
        QFETCH(QStringList, entry);
        Screen s("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName = 'Scribes'");
        s.fill("30");
        s.type(qPrintable(entry[0]), entry[1]);
        Click(s.screen, "cmdAddTheParts");
        QCOMPARE(QString::fromStdString(s.lastPrompt()), entry[2]);
        QCOMPARE(s.rows(), 0);
    }

    // The accessories (Scribes, SpaceBalls and PocketHoles; MachineType) decide which flags
    // and lists are offered, in the boxes and the grid.
    void accessoriesDecideTheEntries_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QStringList>("hidden");
        const QStringList lists{"txtScribes", "txtSpaceBalls", "chkPocketHoles", "chkB_Grade"};
        QTest::newRow("factory") << QStringList{"0", "2"} << lists;
        QTest::newRow("every accessory, machine 1") << QStringList{"1", "1"} << QStringList{};
        QTest::newRow("machine 0") << QStringList{"0", "0"} << lists + QStringList{"chkPanel"};
    }
    void accessoriesDecideTheEntries()
    {
        QFETCH(QStringList, settings);
        QFETCH(QStringList, hidden);
        Screen s(QString("UPDATE tblSettings SET SettingValue = '%1' WHERE SettingName IN ('Scribes', 'SpaceBalls', "
                         "'PocketHoles'); UPDATE tblSettings SET SettingValue = '%2' WHERE SettingName = 'MachineType'")
                     .arg(settings[0], settings[1])
                     .toStdString());
        const QStringList boxes{"txtScribes", "txtSpaceBalls", "chkPocketHoles", "chkB_Grade", "chkPanel"};
        const QStringList columns{"SCRIBES", "SPACEBALLS", "POCKETHOLES", "B_GRADE", "PANEL"};
        BoundGrid* grid = s.screen->partsGrid();
        for (int i = 0; i < boxes.size(); ++i) {
            QCOMPARE(Child<QWidget>(s.screen, qPrintable(boxes[i]))->isHidden(), hidden.contains(boxes[i]));
            const int c = grid->recordSet()->ColumnIndex(columns[i].toStdString()) + 1;
            QCOMPARE(grid->ColHidden(c), hidden.contains(boxes[i]));
        }
    }

    // Fields not in use (ManualField 0 or no value): no entry box and no user-field row, but
    // the grid column stays; a part and material not in use give NONE and learn nothing.
    void fieldsNotInUse()
    {
        Screen s("UPDATE tblPartsFileMapping SET ManualField = 0 WHERE MainName IN ('PART', 'MATERIAL', 'WIDTH');"
                 "UPDATE tblPartsFileMapping SET ManualField = NULL WHERE MainName IN ('THICKNESS', 'UF_1')");
        const char* learned = "SELECT (SELECT COUNT(*) FROM tblPartsCriteria) || (SELECT COUNT(*) FROM tblMaterials)";
        const std::string before = s.def(learned);
        for (const char* box : {"cmboPart", "txtThickness"})
            QVERIFY(Child<QWidget>(s.screen, box)->isHidden());
        QVERIFY(s.screen->entry()->userFieldGrid()->isRowHidden(0));
        BoundGrid* grid = s.screen->partsGrid();
        for (int c = 1; c < grid->Cols(); ++c)
            if (grid->TextMatrix(0, c) == "THICKNESS" || grid->TextMatrix(0, c) == "CABINET")
                QVERIFY(!grid->ColHidden(c));
        s.type("txtLength", "30");
        Click(s.screen, "cmdAddTheParts");
        QCOMPARE(s.work("SELECT COUNT(*) || ' ' || Part || ' ' || Material || ' ' || Width FROM tblParts"),
                 "1 NONE NONE 1.0");
        QCOMPARE(s.def(learned), before);
    }

    // One press, one row: the quantity stays in the row, an empty thickness becomes 0 and the
    // focus is back in the first box. A typed name matches a listed one by case and blanks; a
    // new one is learned once. Enter in the last box adds too.
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
        QComboBox* part = Child<QComboBox>(s.screen, "cmboPart");
        const int listed = part->count();
        s.type("txtQuantity", "4");
        s.type("txtThickness", "");
        s.add("30", typed);
        QCOMPARE(s.work("SELECT COUNT(*) || ' ' || Quantity || ' ' || Thickness FROM tblParts"), "1 4 0.0");
        QCOMPARE(s.screen->focusWidget(), Child<QWidget>(s.screen, "txtSeqNum"));
        s.add("30", typed);
        QCOMPARE(part->currentText(), shown);
        QCOMPARE(part->count(), listed + (shown == typed ? 1 : 0));
        QCOMPARE(s.rows(), 2);
        QVERIFY(s.presenter.prompts.empty());
        const std::string quoted = vxtest::Replaced(shown.toStdString(), "'", "''");
        QCOMPARE(s.def("SELECT COUNT(*) FROM tblPartsCriteria WHERE Part = '" + quoted + "'"), "1");
        // With scribes and space balls off the part name is the last box.
        QTest::keyClick(Child<QComboBox>(s.screen, "cmboMaterial")->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.rows(), 2);
        QTest::keyClick(part->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.rows(), 3);
    }

    // Each deletion asks first, No the default; No keeps every row. Rows 1 and 3 are selected.
    void deletionsAskFirst()
    {
        Screen s;
        for (const char* length : {"10", "20", "30"})
            s.add(length);
        Click(s.screen, "cmdDeleteSelectedRows"); // nothing selected: nothing asked
        QVERIFY(s.presenter.prompts.empty());
        s.screen->partsGrid()->SelectRow(3);
        s.screen->partsGrid()->SelectRow(1, true);
        const std::tuple<const char*, int, std::string, int> presses[] = {
            // button, answer, lengths left, rows
            {"cmdDeleteSelectedRows", vbNo, "10,20,30", 3},
            {"cmdDeleteSelectedRows", vbYes, "20", 1},
            {"cmdDeleteAllParts", vbNo, "20", 1},
            {"cmdDeleteAllParts", vbYes, "", 0}};
        for (const auto& [button, answer, left, rows] : presses) {
            s.presenter.answer(answer);
            Click(s.screen, button);
            QCOMPARE(s.presenter.prompts.back().style, 260);
            QCOMPARE(s.work("SELECT IFNULL(GROUP_CONCAT(CAST(Length AS INTEGER)), '') FROM tblParts"), left);
            QCOMPARE(s.rows(), rows);
        }
        QCOMPARE(s.presenter.prompts.size(), size_t(4));
    }

    // A panel save that fails on its last row writes none of the rows and keeps the panel open.
    void panelEdits_data()
    {
        QTest::addColumn<QStringList>("edit"); // typed into the LENGTH row, stored, message
        QTest::addColumn<bool>("saveFails");   // a trigger refuses the update of the panel's last row
        auto row = [](const char* name, const QStringList& edit, bool saveFails = false) {
            QTest::newRow(name) << edit << saveFails;
        };
        row("same text, other case", {" length ", "LENGTH", ""});
        row("renamed, blanks trimmed", {"  long side ", "LONG SIDE", ""});
        row("another row's label",
            {"width", "LENGTH",
             "The new Display Label matchs an existing Display Label. Display Labels must be unique."});
        row("empty", {"  ", "LENGTH", "A Display Label can not be empty"});
        row("save fails on the last row", {"long side", "LENGTH", ""}, true);
    }
    void panelEdits()
    {
        QFETCH(QStringList, edit);
        QFETCH(bool, saveFails);
        Screen s(saveFails ? "CREATE TRIGGER refuseLast BEFORE UPDATE ON tblPartsFileMapping WHEN NEW.IDNum = 32 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END"
                           : "");
        Click(s.screen, "cmdDefineFields");
        QVERIFY(!Child<QWidget>(s.screen, "cmdAddTheParts")->isEnabled());
        QVERIFY(s.screen->labelsGrid()->isRowHidden(s.mappingRow("SCRIBES")));
        s.editLabel("LENGTH", edit[0]);
        QCOMPARE(QString::fromStdString(s.lastPrompt()), edit[2]);
        Click(s.screen, "cmdMappingGridSaveChanges");
        QCOMPARE(s.lastPrompt().starts_with("Error: "), saveFails);
        QCOMPARE(s.def("SELECT UserLabel FROM tblPartsFileMapping WHERE MainName = 'LENGTH'"), edit[1].toStdString());
        QCOMPARE(Child<QLabel>(s.screen, "Label2_2")->text(), edit[1]);
        QCOMPARE(Child<QWidget>(s.screen, "cmdAddTheParts")->isEnabled(), !saveFails);
        QCOMPARE(Child<QWidget>(s.screen, "fraUserLabels")->isHidden(), !saveFails);
    }

    // A required field stays in use; clearing an optional one hides its entry on SAVE CHANGES
    // and nothing at all is written on CANCEL.
    void panelUseThisField()
    {
        Screen s;
        BoundGridModel* model = s.screen->labelsGrid()->gridModel();
        auto untick = [&](const char* field) {
            model->setData(model->index(s.mappingRow(field), 4), Qt::Unchecked, Qt::CheckStateRole);
        };
        const char* inUse = "SELECT GROUP_CONCAT(ManualField) FROM tblPartsFileMapping";
        const std::string before = s.def(inUse);
        Click(s.screen, "cmdDefineFields");
        untick("PART");
        QCOMPARE(s.lastPrompt(), "This is a required field.");
        untick("UF_1");
        Click(s.screen, "cmdCanel");
        QCOMPARE(s.def(inUse), before);
        Click(s.screen, "cmdDefineFields");
        untick("UF_1");
        untick("THICKNESS");
        Click(s.screen, "cmdMappingGridSaveChanges");
        QCOMPARE(
            s.def("SELECT SUM(ManualField) FROM tblPartsFileMapping WHERE MainName IN ('PART', 'UF_1', 'THICKNESS')"),
            "1");
        QVERIFY(Child<QWidget>(s.screen, "txtThickness")->isHidden());
        QVERIFY(s.screen->entry()->userFieldGrid()->isRowHidden(0));
        QVERIFY(!s.screen->entry()->userFieldGrid()->isRowHidden(1));
    }

    void savingNumbersRowsOnlyWithoutTheSequenceField_data()
    {
        QTest::addColumn<bool>("seqInUse");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<std::string>("saved");
        QTest::newRow("sequence not in use") << false << QStringList{"1", "1", "1"} << std::string("1,2,3");
        QTest::newRow("sequence in use") << true << QStringList{"5", "5", "9"} << std::string("5,5,9");
    }
    void savingNumbersRowsOnlyWithoutTheSequenceField()
    {
        QFETCH(bool, seqInUse);
        QFETCH(QStringList, typed);
        QFETCH(std::string, saved);
        Screen s(seqInUse ? "" : "UPDATE tblPartsFileMapping SET ManualField = 0 WHERE MainName = 'SEQ_NUM'");
        for (const QString& seq : typed)
            s.add("30", "SHELF", seq);
        // Renaming a label first: the saved file carries the new label.
        Click(s.screen, "cmdDefineFields");
        s.editLabel("UF_1", "box");
        Click(s.screen, "cmdMappingGridSaveChanges");
        const std::string target = s.box.file("Kitchen A.rdb");
        s.dialogs.answer(target);
        Click(s.screen, "cmdSaveToFile");
        QCOMPARE(vxtest::QueryScalar(target, "SELECT GROUP_CONCAT(SEQ_NUM) FROM tblParts"), saved);
        QCOMPARE(vxtest::QueryScalar(target, "SELECT GROUP_CONCAT(DISTINCT FileName) FROM tblParts"), "Kitchen A");
        QCOMPARE(vxtest::QueryScalar(target, "SELECT UserLabel FROM tblUserLabels WHERE DBName = 'UF_1'"), "BOX");
        QCOMPARE(s.rows(), 0);
        Click(s.screen, "cmdSaveToFile");
        QCOMPARE(s.lastPrompt(), "There are no parts to save.");
    }

    // A program file, a missing folder or a read-only file: the list stays for the next try.
    void refusedOrFailedSavesKeepTheList()
    {
        Screen s;
        s.add("30");
        s.add("40");
        const std::string locked = s.box.writeFile("locked.rdb", "old");
        QFile::setPermissions(QString::fromStdString(locked), QFileDevice::ReadOwner); // never replaced, even by root
        const std::pair<std::string, std::string> refused[] = {
            {s.box.runtimeFolder() + "/ManualPartsTemplate.mdb",
             "The file selected is a file used by this software. You can not use this file."},
            {s.box.file("no such folder/job.rdb"),
             "Error: 76, The folder " + s.box.file("no such folder") + " does not exist. Choose another folder."},
            {locked, "Error: 70, The file " + locked + " is read-only. Choose another file or make it writable."}};
        for (const auto& [path, message] : refused) {
            s.dialogs.answer(path);
            Click(s.screen, "cmdSaveToFile");
            QVERIFY2(s.lastPrompt().starts_with(message), s.lastPrompt().c_str());
            QCOMPARE(s.rows(), 2);
        }
        QCOMPARE(vxtest::ReadFile(locked), "old");
        s.dialogs.answer(s.box.file("job.rdb"));
        Click(s.screen, "cmdSaveToFile");
        QCOMPARE(vxtest::QueryScalar(s.box.file("job.rdb"), "SELECT COUNT(*) FROM tblParts"), "2");
    }

    // Closing with nothing typed asks nothing (the main menu test closes each screen so).
    void closingWithUnsavedRowsAsks_data()
    {
        QTest::addColumn<QString>("how"); // the close used and the answer
        QTest::addColumn<bool>("closed");
        QTest::newRow("DONE, No") << "cmdDone No" << false;
        QTest::newRow("close control, Yes") << "control Yes" << true;
    }
    void closingWithUnsavedRowsAsks()
    {
        QFETCH(QString, how);
        QFETCH(bool, closed);
        Screen s;
        s.add("30");
        s.presenter.answer(how.endsWith("Yes") ? vbYes : vbNo);
        if (how.startsWith("control"))
            vxtest::CloseWithControlMenu(s.screen);
        else
            Click(s.screen, "cmdDone");
        vxtest::Settle();
        QCOMPARE(s.presenter.prompts.size(), size_t(1));
        QCOMPARE(s.lastPrompt(), "The parts entered have not been saved. Close anyway?");
        QCOMPARE(s.screen.isNull() || s.screen->isHidden(), closed);
        QCOMPARE(s.menu.isVisible(), closed);
        if (!closed)
            return;
        // The next opening starts an empty list whatever the working table held.
        frmCLTManualPartsEntry again(&s.menu);
        again.Display();
        QCOMPARE(again.partsGrid()->Rows(), 1);
    }
};

QTEST_MAIN(tst_frmCLTManualPartsEntry)
#include "tst_frmCLTManualPartsEntry.moc"
