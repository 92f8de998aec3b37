// Every screen at a realistic size: no caption of a button, label, check box or option is
// cut off, in every state, on a 1280x1024 and a 1024x768 display. With VX_SCREENSHOT_DIR set,
// each screen is also saved there as a PNG.
#include "ScreenTestTools.h"
#include "base/ErrorLog.h"
#include "config/frmCLTSetup.h"
#include "convert/frmCLTBaseFileName.h"
#include "convert/frmCLTProcessFilesCreated.h"
#include "mapping/frmCLTLoadDefaultMapping.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "mapping/frmCLTPrintMapping.h"
#include "parts/frmCLTAddParts.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "screens/frmCLTCombineFiles.h"
#include "screens/frmCLTErrorLog.h"
#include "screens/frmCLTMain.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "screens/frmCLTProcesses.h"
#include "screens/frmCLTYieldReportPath.h"
#include "ui/ScreenTools.h"

using namespace vx;

class tst_ScreenLayouts : public QObject {
    Q_OBJECT

    static void CheckAndSave(QWidget* screen, const QString& name)
    {
        screen->show();
        // The work areas of both displays, less a task bar: the screen fits them, every button
        // lies inside it and no caption is cut off.
        for (QRect area : {QRect(0, 0, 1280, 984), QRect(0, 0, 1024, 728)}) {
            screen->resize(SizeWithin(screen, area));
            QCoreApplication::processEvents();
            const QString where = name + QStringLiteral(" in %1 px wide: ").arg(area.width());
            QVERIFY2(area.contains(QRect(QPoint(), screen->size() + FrameAllowance(screen))), qPrintable(where));
            for (QAbstractButton* b : screen->findChildren<QAbstractButton*>())
                if (b->isVisible() && !b->text().isEmpty())
                    QVERIFY2(b->width() >= b->sizeHint().width() &&
                                 screen->rect().contains(QRect(b->mapTo(screen, QPoint()), b->size())),
                             qPrintable(where + b->objectName()));
            for (QLabel* l : screen->findChildren<QLabel*>())
                if (l->isVisible() && !l->wordWrap() && !l->text().isEmpty())
                    QVERIFY2(l->width() >= l->minimumSizeHint().width(), qPrintable(where + l->objectName()));
        }
        QByteArray dir = qgetenv("VX_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(screen->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png"));
    }

private slots:
    void everyScreen()
    {
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        box.execDef("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName IN ('Scribes', 'SpaceBalls')");
        LoadSettings();
        std::string input = box.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));

        frmCLTMain menu;
        menu.setWindowTitle("Veltrax Cutlister V7.5.0");
        menu.Display();
        CheckAndSave(&menu, "frmCLTMain");

        frmCLTSetup* setup = new frmCLTSetup(&menu);
        setup->Display();
        CheckAndSave(setup, "frmCLTSetup");
        setup->Shutdown();

        frmCLTErrorLog log;
        log.InstallAsViewer();
        TheErrorLog().ClearLog();
        TheErrorLog().AddInfo("THERE ARE ERRORS IN THE PARTS FILE MAPPING\r\n\r\nYou must select a column for DB Name: "
                              "PART, Display Label: PART, This is a required field.\r\n\r\n");
        TheErrorLog().Display();
        CheckAndSave(&log, "frmCLTErrorLog");

        vxtest::ScriptedFileDialogs dialogs;
        frmCLTProcessPartsFile* convert = new frmCLTProcessPartsFile(&menu);
        convert->Display(true);
        dialogs.answer(input);
        convert->cmdOpenPartsFile_Click();
        CheckAndSave(convert, "frmCLTProcessPartsFile");
        dialogs.answer(box.file("cutlist.rdb"));
        convert->cmdCreateROPartsFile_Click();
        CheckAndSave(convert, "frmCLTProcessPartsFile-written");

        frmCLTBaseFileName base;
        base.SetStartFileName("cutlist");
        CheckAndSave(&base, "frmCLTBaseFileName");
        base.hide();

        frmCLTProcessFilesCreated created;
        created.AddGridRow("Cabinet Parts", "cutlist_CAB.rdb", "/home/shop/out/cabinets");
        created.AddGridRow("Solid Wood", "cutlist_SOLID.rdb", "/home/shop/out/solid");
        created.Display();
        CheckAndSave(&created, "frmCLTProcessFilesCreated");
        std::string rdb = box.file("job.rdb");
        convert->session().WriteROPartsFile(rdb);
        convert->CommandLineShutdown();
        delete convert;

        auto* viewEdit = new frmCLTViewEditROPartsFile(&menu);
        viewEdit->Display();
        dialogs.answer(rdb);
        viewEdit->cmdOpenFile_Click();
        CheckAndSave(viewEdit, "frmCLTViewEditROPartsFile");
        viewEdit->cmdAddParts_Click();
        CheckAndSave(viewEdit->addPartsDialog(), "frmCLTAddParts");
        viewEdit->addPartsDialog()->Shutdown();
        viewEdit->Shutdown();

        frmCLTProcesses* processes = new frmCLTProcesses(&menu);
        processes->Display();
        processes->grid()->SelectRow(1);
        CheckAndSave(processes, "frmCLTProcesses");
        processes->cmdPathSelect_Click();
        processes->pathPicker()->SelectFolder(QString::fromStdString(box.runtimeFolder()));
        CheckAndSave(processes->pathPicker(), "frmCLTYieldReportPath");
        processes->Shutdown();

        frmCLTPartsListMapping* mapping = new frmCLTPartsListMapping(&menu);
        mapping->Display();
        mapping->OpenExampleFile(QString::fromStdString(input));
        CheckAndSave(mapping, "frmCLTPartsListMapping");
        auto* defaults = new frmCLTLoadDefaultMapping(mapping, &menu);
        defaults->Display();
        CheckAndSave(defaults, "frmCLTLoadDefaultMapping");
        defaults->Shutdown();
        mapping->Shutdown();

        frmCLTPrintMapping* print = new frmCLTPrintMapping(&menu);
        print->Display();
        CheckAndSave(print, "frmCLTPrintMapping");
        print->Shutdown();

        frmCLTCombineFiles* combine = new frmCLTCombineFiles(&menu);
        combine->Display();
        combine->AddFiles({QString::fromStdString(box.file("monday-kitchen.rdb")),
                           QString::fromStdString(box.file("monday-vanity.rdb"))});
        CheckAndSave(combine, "frmCLTCombineFiles");
        combine->Shutdown();

        frmCLTManualPartsEntry* manual = new frmCLTManualPartsEntry(&menu);
        manual->Display();
        for (const char* length : {"30.5", "22", "18.25"}) {
            vxtest::Child<QLineEdit>(manual, "txtWidth")->setText("11.75");
            vxtest::Child<QLineEdit>(manual, "txtLength")->setText(length);
            vxtest::Click(manual, "cmdAddTheParts");
        }
        CheckAndSave(manual, "frmCLTManualPartsEntry");
        vxtest::Click(manual, "cmdDefineFields");
        CheckAndSave(manual, "frmCLTManualPartsEntry-fields");
        vxtest::Click(manual, "cmdMappingGridSaveChanges");
        CheckAndSave(manual, "frmCLTManualPartsEntry-saved");
        manual->Unload();

        frmCLTPartsCriteriaDelete* removal = new frmCLTPartsCriteriaDelete(&menu);
        removal->Display();
        CheckAndSave(removal, "frmCLTPartsCriteriaDelete");
        removal->Done();
        vxtest::Settle();
    }
};

QTEST_MAIN(tst_ScreenLayouts)
#include "tst_ScreenLayouts.moc"
