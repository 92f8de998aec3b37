// The convert screen driven as the operator does: open a cut list, edit a criterion, apply,
// check scribes and space balls, write one parts file, write process files (one replaced,
// one refused); and the columns shown by accessory and machine type.
#include "ScreenTestTools.h"
#include "convert/frmCLTBaseFileName.h"
#include "convert/frmCLTProcessFilesCreated.h"

using namespace vx;
using vxtest::Child;
using vxtest::Click;
using vxtest::QueryColumn;
using vxtest::QueryScalar;

class tst_frmCLTProcessPartsFile : public QObject {
    Q_OBJECT

    static const char* CutList()
    {
        return "Seq,Part,Material,Thick,Width,Length,Qty,Scribes,Cabinet,Edge\r\n"
               "1,LEFT SIDE,MAPLE PLY,0.75,23.25,34.5,1,4.5|11|11,B1,1L\r\n"
               "2,SHELF,MAPLE PLY,0.75,21.5,34.375,2,,B1,1L\r\n"
               "3,NEW PART,WALNUT,0.75,10,30,1,10|-5,B2,\r\n";
    }
    // The configuration's machine type and accessories.
    static std::string Accessories(int machine, bool scribes, bool spaceBalls, bool pocketHoles)
    {
        return "UPDATE tblSettings SET SettingValue = CASE SettingName WHEN 'MachineType' THEN " +
               std::to_string(machine) + " WHEN 'Scribes' THEN " + std::to_string(scribes) +
               " WHEN 'SpaceBalls' THEN " + std::to_string(spaceBalls) + " ELSE " + std::to_string(pocketHoles) +
               " END WHERE SettingName IN ('MachineType', 'Scribes', 'SpaceBalls', 'PocketHoles')";
    }
    // The columns that accessories and machine types show or hide.
    inline static const QStringList kPartsOptional{"B_GRADE", "PANEL", "SCRIBES", "SPACEBALLS", "POCKETHOLES"};
    inline static const QStringList kCriteriaOptional{"B_Grade", "Pocket_Holes",    "Space_Ball_Loc",
                                                      "Panel",   "Min_Panel_Width", "Reverse_Scribes"};
    // Grid column (1-based) whose table column has this name.
    static int ColumnOf(BoundGrid* grid, const char* name) { return grid->recordSet()->ColumnIndex(name) + 1; }
    static int RowOf(BoundGrid* grid, int col, const QString& text)
    {
        for (int r = 1; r < grid->Rows(); ++r)
            if (grid->TextMatrix(r, col) == text)
                return r;
        return -1;
    }
    // Answers the modal base-name dialog once it is up: first empty, then the name.
    static void AnswerBaseNameDialog(const QString& name)
    {
        QTimer::singleShot(0, [name] {
            auto* dialog = qobject_cast<frmCLTBaseFileName*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->StartFileName(), QString("job12"));
            dialog->SetStartFileName("   ");
            dialog->findChild<QPushButton*>("cmdCreateFiles")->click();
            QVERIFY(dialog->isVisible());
            dialog->SetStartFileName(name);
            dialog->findChild<QPushButton*>("cmdCreateFiles")->click();
        });
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void wholeOrderOfWork()
    {
        vxtest::ConvertScreenFixture f(Accessories(2, true, true, false));
        auto& [box, presenter, dialogs, mainMenu, screen] = f;
        std::string input = box.writeFile("job12.csv", CutList());
        QCOMPARE(Child<QComboBox>(screen, "cmboSkipXLines")->currentText(), QString("1"));
        QVERIFY(Child<QCheckBox>(screen, "chkAskIfValid")->isChecked());

        // A refused skip value opens no dialog.
        Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("-1");
        Click(screen, "cmdOpenPartsFile");
        QCOMPARE(presenter.prompts.size(), size_t(1));
        QVERIFY(dialogs.requests.empty());
        presenter.prompts.clear();

        // Open, with new parts made valid without a question.
        Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("1");
        Child<QCheckBox>(screen, "chkAskIfValid")->setChecked(false);
        dialogs.answer(input);
        Click(screen, "cmdOpenPartsFile");
        QCOMPARE(dialogs.requests.back().filter, QString("Parts Files (*.CSV)|*.CSV|All Files (*.*)|*.*"));
        QVERIFY(presenter.prompts.empty());
        QCOMPARE(Child<QLabel>(screen, "lblFileOpened")->text().toStdString(), input);
        BoundGrid* parts = screen->partsGrid();
        BoundGrid* criteria = screen->criteriaGrid();
        QCOMPARE(parts->Rows(), 4);
        int partCol = ColumnOf(criteria, "Part");
        QVERIFY(RowOf(criteria, partCol, "NEW PART") > 0);

        // Edit criteria in the grid: SHELF not valid, LEFT SIDE to process 2 through the drop-down.
        BoundGridModel* cm = criteria->gridModel();
        int shelf = RowOf(criteria, partCol, "SHELF");
        int left = RowOf(criteria, partCol, "LEFT SIDE");
        QVERIFY(
            cm->setData(cm->index(shelf - 1, ColumnOf(criteria, "Valid_Part") - 1), Qt::Unchecked, Qt::CheckStateRole));
        int processCol = ColumnOf(criteria, "Process");
        QModelIndex processCell = cm->index(left - 1, processCol - 1);
        criteria->setCurrentIndex(processCell);
        criteria->edit(processCell);
        auto* combo = criteria->viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText("Solid Wood"));
        QTest::keyClick(combo, Qt::Key_Tab);
        QCOMPARE(criteria->TextMatrix(left, processCol), QString("Solid Wood"));
        QCOMPARE(QueryScalar(box.defDatabase(), "SELECT Process FROM tblPartsCriteria WHERE Part = 'LEFT SIDE'"), "2");

        Click(screen, "cmdApplyCriteria");
        auto working = [&](const std::string& sql) {
            return f.screen->session().connection()->ScalarQuery("SELECT " + sql).toText();
        };
        QCOMPARE(working("ValidPart FROM tblPartsFileProcessTemplate WHERE PART = 'SHELF'"), "0");
        QCOMPARE(working("Process FROM tblPartsFileProcessTemplate WHERE PART = 'LEFT SIDE'"), "2");

        // Checks: the new part's scribes 10|-5 hold a negative entry.
        Click(screen, "cmdCheckScribes");
        QCOMPARE(f.lastPrompt(),
                 "Error in a Scribes specification in the cell selected. A Scribe Location value is < 0.");
        QCOMPARE(parts->currentIndex().row() + 1, RowOf(parts, ColumnOf(parts, "PART"), "NEW PART"));
        QCOMPARE(parts->currentIndex().column() + 1, screen->ScribesCol);
        Click(screen, "cmdCheckSpaceBalls");
        QCOMPARE(presenter.prompts.back().text, "No errors found in the SpaceBalls column.");

        // One parts file.
        std::string out = box.file("job12.rdb");
        dialogs.answer(out);
        Click(screen, "cmdCreateROPartsFile");
        // The save dialog shows parts files, adds .rdb to a typed name and proposes the cut list's name.
        const FileDialogRequest& save = dialogs.requests.back();
        QCOMPARE(save.filter, QString("Veltrax Parts Files (*.rdb)|*.rdb|All Files (*.*)|*.*"));
        QCOMPARE(save.defaultExtension, QString(".rdb"));
        QVERIFY(save.proposedPath.endsWith("job12"));
        QCOMPARE(QueryColumn(out, "SELECT Part FROM tblParts ORDER BY Part"),
                 std::vector<std::string>({"LEFT SIDE", "NEW PART"}));
        QCOMPARE(RememberedPath("LastPath2").toStdString(), box.root());
        QCOMPARE(RememberedPath("LastPath1").toStdString(), input);
        QCOMPARE(parts->Rows(), 1);
        QVERIFY(Child<QLabel>(screen, "lblFileOpened")->text().isEmpty());
        Click(screen, "cmdCreateROPartsFile"); // the list was emptied with the file written
        QCOMPARE(f.lastPrompt(), "You must open a comma delimited parts file, or there are no parts in the file.");

        // Nothing written (the factory folders are empty; NEW PART's process is gone): the parts
        // stay, no list of files shows, the status line says so.
        dialogs.answer(input);
        Click(screen, "cmdOpenPartsFile");
        screen->session().connection()->Execute(
            "UPDATE tblPartsFileProcessTemplate SET Process = 9 WHERE PART = 'NEW PART'");
        presenter.prompts.clear();
        presenter.answer(vbOK);  // "You must enter a Base File Name."
        presenter.answer(vbYes); // go on without NEW PART
        AnswerBaseNameDialog("run");
        Click(screen, "cmdCreateProcessFiles");
        QCOMPARE(presenter.prompts.at(1).text,
                 "1 valid part has no process (NEW PART). It will be in no file. Continue?");
        QVERIFY(!screen->filesCreatedScreen()->isVisible() && parts->Rows() == 4);
        QCOMPARE(Child<QLabel>(screen, "lblWritten")->text(), QString("No process file was written."));

        // Process files: the cabinet file is replaced, the solid-wood file is refused.
        QDir().mkpath(QString::fromStdString(box.file("cab")));
        QDir().mkpath(QString::fromStdString(box.file("solid")));
        box.execDef("UPDATE tblProcesses SET SaveFileTo = CASE AutoID WHEN 1 THEN '" + box.file("cab") + "' ELSE '" +
                    box.file("solid") + "/' END WHERE AutoID IN (1, 2)");
        std::string cabFile = box.writeFile("cab/run'7_CAB.rdb", "old cabinet file");
        std::string solidFile = box.writeFile("solid/run'7_SOLID.rdb", "old solid file");
        Click(screen, "cmdApplyCriteria"); // the parts are still there to try again
        presenter.prompts.clear();
        presenter.answer(vbOK);  // "You must enter a Base File Name."
        presenter.answer(vbYes); // replace the cabinet file
        presenter.answer(vbNo);  // keep the solid-wood file
        AnswerBaseNameDialog("  run'7 ");
        Click(screen, "cmdCreateProcessFiles");
        QCOMPARE(presenter.prompts.size(), size_t(3));
        QCOMPARE(presenter.prompts[0].text, "You must enter a Base File Name.");
        QCOMPARE(presenter.prompts[1].title, "File Exists");
        QVERIFY(presenter.prompts[1].text.starts_with("For Process: Cabinet Parts\r\nA file named: run'7_CAB.rdb\r\n"));
        QCOMPARE(presenter.prompts[2].style, int(vbYesNo));
        QCOMPARE(QueryColumn(cabFile, "SELECT Part FROM tblParts"), std::vector<std::string>({"NEW PART"}));
        QCOMPARE(vxtest::ReadFile(solidFile), "old solid file");
        frmCLTProcessFilesCreated* list = screen->filesCreatedScreen();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->grid()->Rows(), 2);
        QCOMPARE(list->grid()->TextMatrix(1, 1) + "|" + list->grid()->TextMatrix(1, 2), "Cabinet Parts|run'7_CAB.rdb");
        QCOMPARE(parts->Rows(), 1);

        // DONE stores the screen's settings and brings the main menu back.
        Child<QComboBox>(screen, "cmboSkipXLines")->setEditText("3");
        Child<QLineEdit>(screen, "txtExtraSpaceBalls_0")->setText(" 800 ");
        Click(screen, "cmdDone");
        vxtest::Settle();
        QVERIFY(!screen && mainMenu.isVisible());
        QCOMPARE(f.setting("AskIfValid") + f.setting("ProcessingSkipFirstXLines"), "03");
        QCOMPARE(State().ExtraSpaceBalls[0], "800");
    }

    // Each row: MachineType, Scribes, SpaceBalls, PocketHoles, then the optional columns shown
    // in the parts grid and in the criteria grid.
    void columnsByAccessoryAndMachine_data()
    {
        QTest::addColumn<QList<int>>("setup");
        QTest::addColumn<QStringList>("partsShown");
        QTest::addColumn<QStringList>("criteriaShown");
        QTest::newRow("cutqueue, nothing") << QList<int>{0, 0, 0, 0} << QStringList{} << QStringList{};
        QTest::newRow("joystick, scribes") << QList<int>{1, 1, 0, 0} << QStringList{"B_GRADE", "PANEL", "SCRIBES"}
                                           << QStringList{"B_Grade", "Panel", "Min_Panel_Width", "Reverse_Scribes"};
        QTest::newRow("crayon, space balls and pocket holes")
            << QList<int>{2, 0, 1, 1} << QStringList{"PANEL", "SPACEBALLS", "POCKETHOLES"}
            << QStringList{"Pocket_Holes", "Space_Ball_Loc", "Panel", "Min_Panel_Width"};
        QTest::newRow("joystick, everything") << QList<int>{1, 1, 1, 1} << kPartsOptional << kCriteriaOptional;
    }
    void columnsByAccessoryAndMachine()
    {
        QFETCH(QList<int>, setup);
        QFETCH(QStringList, partsShown);
        QFETCH(QStringList, criteriaShown);
        vxtest::ConvertScreenFixture f(Accessories(setup[0], setup[1], setup[2], setup[3]));
        BoundGrid* parts = f.screen->partsGrid();
        BoundGrid* criteria = f.screen->criteriaGrid();
        auto check = [](BoundGrid* grid, const QStringList& optional, const QStringList& shown) {
            for (const QString& name : optional)
                QVERIFY2(grid->ColHidden(ColumnOf(grid, qPrintable(name))) != shown.contains(name), qPrintable(name));
        };
        check(parts, kPartsOptional, partsShown);
        check(criteria, kCriteriaOptional, criteriaShown);
        check(parts, {"AutoIDNum", "UF_1", "UF_3", "FileName"}, {"UF_1"});
        QVERIFY(criteria->ColHidden(1));
        QCOMPARE(parts->TextMatrix(0, ColumnOf(parts, "UF_1")), QString("CABINET"));
        QCOMPARE(f.screen->LengthCol, ColumnOf(parts, "LENGTH"));
        QCOMPARE(Child<QPushButton>(f.screen, "cmdCheckScribes")->isVisibleTo(f.screen), bool(setup[1]));
        QCOMPARE(Child<QPushButton>(f.screen, "cmdCheckSpaceBalls")->isVisibleTo(f.screen), bool(setup[2]));
        QCOMPARE(Child<QWidget>(f.screen, "fraSpaceBalls")->isVisibleTo(f.screen), bool(setup[2]));
        QVERIFY(f.presenter.prompts.empty());
    }
};

QTEST_MAIN(tst_frmCLTProcessPartsFile)
#include "tst_frmCLTProcessPartsFile.moc"
