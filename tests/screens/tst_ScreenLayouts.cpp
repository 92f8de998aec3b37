// Every screen at a realistic size: no caption of a button, label, check box or option is
// cut off. With VX_SCREENSHOT_DIR set, each screen is also saved there as a PNG.
#include "ScreenTestTools.h"
#include "config/frmCLTSetup.h"
#include "convert/frmCLTBaseFileName.h"
#include "convert/frmCLTProcessFilesCreated.h"
#include "mapping/frmCLTLoadDefaultMapping.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "mapping/frmCLTPrintMapping.h"
#include "parts/frmCLTAddParts.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "screens/ErrorLog.h"
#include "screens/frmCLTCombineFiles.h"
#include "screens/frmCLTErrorLog.h"
#include "screens/frmCLTMain.h"
#include "screens/frmCLTPartsCriteriaDelete.h"
#include "screens/frmCLTProcesses.h"
#include "screens/frmCLTYieldReportPath.h"

using namespace vx;

class tst_ScreenLayouts : public QObject {
    Q_OBJECT

    // Shows a screen and checks that no caption is cut off; the screenshot is named after its
    // class and the state shown.
    static void Check(QWidget* screen, const QString& state = "")
    {
        const QString name = QString(screen->metaObject()->className()).remove("vx::") + state;
        screen->show();
        QCoreApplication::processEvents();
        for (QAbstractButton* b : screen->findChildren<QAbstractButton*>()) {
            if (b->isVisible() && !b->text().isEmpty())
                QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(name + ": " + b->objectName()));
        }
        for (QLabel* l : screen->findChildren<QLabel*>()) {
            if (l->isVisible() && !l->wordWrap() && !l->text().isEmpty())
                QVERIFY2(l->width() >= l->minimumSizeHint().width(), qPrintable(name + ": " + l->objectName()));
        }
        QByteArray dir = qgetenv("VX_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(screen->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png"));
    }
    // A new screen over the menu, displayed, filled by fill and checked once; the menu deletes it.
    template <class Screen, class... Parents>
    static Screen* CheckOnce(std::function<void(Screen*)> fill, Parents*... parents)
    {
        auto* screen = new Screen(parents...);
        screen->Display();
        if (fill)
            fill(screen);
        Check(screen);
        return screen;
    }

private slots:
    void everyScreen()
    {
        vxtest::RuntimeSandbox box;
        vxtest::ScriptedPresenter presenter;
        vxtest::ScriptedFileDialogs dialogs;
        box.execDef("UPDATE tblSettings SET SettingValue = '1' WHERE SettingName IN ('Scribes', 'SpaceBalls')");
        LoadSettings();
        std::string input = box.writeFile("job.csv", vxtest::ReadFile(vxtest::SourceDir() + "/examples/cutlist.csv"));

        frmCLTMain menu;
        menu.setWindowTitle("Veltrax Cutlister V7.5.0");
        menu.Display();
        Check(&menu);
        CheckOnce<frmCLTSetup>({}, &menu);

        frmCLTErrorLog log;
        log.InstallAsViewer();
        TheErrorLog().ClearLog();
        TheErrorLog().AddInfo("THERE ARE ERRORS IN THE PARTS FILE MAPPING\r\n\r\nYou must select a column for DB Name: "
                              "PART, Display Label: PART, This is a required field.\r\n\r\n");
        TheErrorLog().Display();
        Check(&log);

        auto* convert = new frmCLTProcessPartsFile(&menu);
        convert->Display(true);
        dialogs.answer(input);
        convert->cmdOpenPartsFile_Click();
        Check(convert);
        dialogs.answer(box.file("cutlist.rdb"));
        convert->cmdCreateROPartsFile_Click();
        Check(convert, "-written");

        frmCLTBaseFileName base;
        base.SetStartFileName("cutlist");
        Check(&base);
        base.hide();

        frmCLTProcessFilesCreated created;
        created.AddGridRow("Cabinet Parts", "cutlist_CAB.rdb", "/home/shop/out/cabinets");
        created.AddGridRow("Solid Wood", "cutlist_SOLID.rdb", "/home/shop/out/solid");
        created.Display();
        Check(&created);
        std::string rdb = box.file("job.rdb");
        convert->session().WriteROPartsFile(rdb);
        convert->CommandLineShutdown();
        delete convert;

        auto* viewEdit = CheckOnce<frmCLTViewEditROPartsFile>(
            [&](auto* v) {
                dialogs.answer(rdb);
                v->cmdOpenFile_Click();
            },
            &menu);
        viewEdit->cmdAddParts_Click();
        Check(viewEdit->addPartsDialog());
        viewEdit->addPartsDialog()->Shutdown();

        auto* processes = CheckOnce<frmCLTProcesses>([](auto* p) { p->grid()->SelectRow(1); }, &menu);
        processes->cmdPathSelect_Click();
        processes->pathPicker()->SelectFolder(QString::fromStdString(box.runtimeFolder()));
        Check(processes->pathPicker());

        auto* mapping = CheckOnce<frmCLTPartsListMapping>(
            [&](auto* m) { m->OpenExampleFile(QString::fromStdString(input)); }, &menu);
        CheckOnce<frmCLTLoadDefaultMapping>({}, mapping, &menu);
        CheckOnce<frmCLTPrintMapping>({}, &menu);
        CheckOnce<frmCLTCombineFiles>(
            [&](auto* c) {
                c->AddFiles({QString::fromStdString(box.file("monday-kitchen.rdb")),
                             QString::fromStdString(box.file("monday-vanity.rdb"))});
            },
            &menu);
        auto* manual = CheckOnce<frmCLTManualPartsEntry>(
            [](auto* m) {
                for (const char* length : {"30.5", "22", "18.25"}) {
                    vxtest::Child<QLineEdit>(m, "txtWidth")->setText("11.75");
                    vxtest::Child<QLineEdit>(m, "txtLength")->setText(length);
                    vxtest::Click(m, "cmdAddTheParts");
                }
            },
            &menu);
        vxtest::Click(manual, "cmdDefineFields");
        Check(manual, "-fields");
        CheckOnce<frmCLTPartsCriteriaDelete>({}, &menu);
    }
};

QTEST_MAIN(tst_ScreenLayouts)
#include "tst_ScreenLayouts.moc"
