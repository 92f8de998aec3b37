// The main menu, the configuration screen, the error log window and the print mapping
// screen: the saving rules of the program's end, the mapping check before the convert
// screen, the configuration's update and cancel, and the saved mapping printed through
// the print dialog to a PDF file whose text is read back.
#include "ScreenTestTools.h"
#include "base/ErrorLog.h"
#include "config/DamagedConfiguration.h"
#include "config/frmCLTSetup.h"
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
#include "ui/MessageBoxPresenter.h"
#include "ui/PrintDialog.h"

#include <QPrinter>

#include <filesystem>
#include <fstream>

using namespace vx;
using vxtest::Child;
using vxtest::Click;

namespace {
// The main menu shown on a fresh runtime folder with the stored settings loaded.
struct MenuFixture {
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedPresenter presenter;
    struct Loaded {
        Loaded() { LoadSettings(); }
    } loaded;
    frmCLTMain menu;
    MenuFixture() { menu.Display(); }
    std::string setting(const std::string& name) const
    {
        return vxtest::QueryScalar(box.defDatabase(),
                                   "SELECT SettingValue FROM tblSettings WHERE SettingName = '" + name + "'");
    }
};

// Counts (and holds back) the application's own requests to quit when it thinks its last window closed.
struct QuitRequests : QObject {
    int count = 0;
    QuitRequests() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override { return o == qApp && e->type() == QEvent::Quit && ++count; }
};
} // namespace

class tst_frmCLTMain : public QObject {
    Q_OBJECT

private slots:
    void exitAndCloseControlSaveButOtherClosesDoNot_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("saved");
        QTest::newRow("EXIT button") << 0 << true;
        QTest::newRow("close control") << 1 << true;
        QTest::newRow("closed by the program") << 2 << false;
    }
    void exitAndCloseControlSaveButOtherClosesDoNot()
    {
        QFETCH(int, how);
        QFETCH(bool, saved);
        MenuFixture f;
        State().ProcessingSkipFirstXLines = 7;
        State().ConvertLengthType = 2;
        State().ExtraSpaceBalls = {"800", "1200"};
        if (how == 0)
            Click(&f.menu, "cmdExit");
        else if (how == 1)
            vxtest::CloseWithControlMenu(&f.menu);
        else
            f.menu.close();
        QVERIFY(!f.menu.isVisible());
        QCOMPARE(f.setting("ProcessingSkipFirstXLines") + f.setting("ConvertLengthType") +
                         f.setting("ExtraSpaceBalls3") + f.setting("ExtraSpaceBalls4") ==
                     "728001200",
                 saved);
    }

    // A configuration that cannot be used is one real question at the start, answered by key.
    void damagedConfigurationAtStart_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Yes: kept aside, its log too") << int(Qt::Key_Y);
        QTest::newRow("No: left alone") << int(Qt::Key_N);
    }
    void damagedConfigurationAtStart()
    {
        QFETCH(int, key);
        vxtest::RuntimeSandbox box;
        const std::string def = box.defDatabase(), bytes(900, 'x');
        std::ofstream(def, std::ios::trunc) << bytes;
        std::ofstream(def + "-wal") << "the damaged file's log";
        int questions = 0;
        SetMessagePresenter([&](const std::string& prompt, int style, const std::string& title) {
            ++questions;
            QTimer::singleShot(0, [key] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key(key)); });
            return PresentMessageBox(QString::fromStdString(prompt), style, QString::fromStdString(title));
        });
        QCOMPARE(ConfigurationReadyForScreens(), key == Qt::Key_Y);
        QCOMPARE(ConfigurationReadyForScreens(), key == Qt::Key_Y); // sound now, or asked again
        SetMessagePresenter({});
        QCOMPARE(questions, key == Qt::Key_Y ? 1 : 2);
        const QStringList aside = QDir(QString::fromStdString(box.runtimeFolder())).entryList({"CLTDef-damaged-*.mdb"});
        QCOMPARE(vxtest::ReadFile(aside.isEmpty() ? def : box.runtimeFolder() + "/" + aside[0].toStdString()), bytes);
        QVERIFY(key == Qt::Key_N || !QFile::exists(QString::fromStdString(def + "-wal")));
    }

    void incompleteMappingOpensTheErrorLogInsteadOfTheConvertScreen()
    {
        MenuFixture f;
        f.box.execDef("UPDATE tblPartsFileMapping SET PF_Col = 0 WHERE MainName IN ('PART', 'LENGTH')");
        frmCLTErrorLog log;
        log.InstallAsViewer();
        Click(&f.menu, "cmdProcessPartsFile");
        QVERIFY(log.isVisible());
        QVERIFY(log.LogText().startsWith("THERE ARE ERRORS IN THE PARTS FILE MAPPING"));
        QVERIFY(log.LogText().contains("You must select a column for DB Name: PART, Display Label: PART, "
                                       "This is a required field."));
        QVERIFY(log.LogText().contains("DB Name: LENGTH"));
        Click(&log, "cmdClose"); // closing only hides the log
        QVERIFY(!log.isVisible() && vxtest::Contains(TheErrorLog().Text(), "DB Name: LENGTH"));
        QVERIFY(!f.menu.convertScreen());
        QVERIFY(f.menu.isVisible());
        QVERIFY(f.presenter.prompts.empty());
    }

    // Each menu button (enabled) opens its screen; all but the removal screen hide the menu
    // until the screen's DONE brings it back.
    void menuOpensEachScreenAndGetsItBack_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("hidesMenu");
        QTest::newRow("mapping") << "cmdDefinePartsFile" << true;
        QTest::newRow("print mapping") << "cmdPrintMapping" << true;
        QTest::newRow("convert, mapping complete") << "cmdProcessPartsFile" << true;
        QTest::newRow("processes") << "cmdProcesses" << true;
        QTest::newRow("view/edit") << "cmdViewEditROPartsFile" << true;
        QTest::newRow("combine") << "cmdCombinePartsFiles" << true;
        QTest::newRow("manual entry") << "cmdManualPartsList" << true;
        QTest::newRow("removal") << "cmdDeleteParts" << false;
    }
    void menuOpensEachScreenAndGetsItBack()
    {
        QFETCH(QString, button);
        QFETCH(bool, hidesMenu);
        MenuFixture f;
        frmCLTMain& menu = f.menu;
        Click(&menu, button.toLatin1().constData());
        QPointer<QWidget> opened;
        for (QWidget* screen : std::initializer_list<QWidget*>{
                 menu.mappingScreen(), menu.printMappingScreen(), menu.convertScreen(), menu.processesScreen(),
                 menu.removalScreen(), menu.viewEditScreen(), menu.combineScreen(), menu.manualEntryScreen()})
            if (screen && screen->isVisible()) {
                QVERIFY2(!opened, "one screen at a time");
                opened = screen;
            }
        QVERIFY(opened);
        QCOMPARE(menu.isVisible(), !hidesMenu);
        Click(opened, "cmdDone");
        vxtest::Settle();
        QVERIFY(!opened || !opened->isVisible());
        QVERIFY(menu.isVisible());
        QVERIFY(f.presenter.prompts.empty());
    }

    // With the program running, a real message box closed by Return over a dialog whose screen
    // (and the main menu) is hidden: the program goes on. Over the add-parts dialog its own
    // messages follow (a refused entry, a good one), then DONE shows the new row.
    void messageOverADialogOfAHiddenScreenKeepsTheProgram_data()
    {
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QString>("dialogButton");
        QTest::addColumn<QString>("prompts");
        // clang-format off
        QTest::newRow("add parts") << "cmdViewEditROPartsFile" << "cmdAddParts" << "Checked.|Value required for THICKNESS.|Parts have been added.";
        QTest::newRow("folder picker") << "cmdProcesses" << "cmdPathSelect" << "Checked.";
        QTest::newRow("a dialog of a screen, as the base name's") << "cmdProcessPartsFile" << "" << "Checked.";
        // clang-format on
    }
    void messageOverADialogOfAHiddenScreenKeepsTheProgram()
    {
        QFETCH(QString, menuButton);
        QFETCH(QString, dialogButton);
        QFETCH(QString, prompts);
        MenuFixture f;
        vxtest::ScriptedFileDialogs files;
        files.answer(f.box.file("manual.rdb"));
        std::filesystem::copy_file(vxtest::BinDir() + "/ManualPartsTemplateDefault.mdb", f.box.file("manual.rdb"));
        vxtest::KeyedMessageBoxes boxes;
        QuitRequests quits;
        QPointer<QWidget> screen, open;
        auto shownBesides = [](QWidget* other) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != other)
                    return w;
            return static_cast<QWidget*>(nullptr);
        };
        QTimer::singleShot(0, [&] {
            Click(&f.menu, qPrintable(menuButton));
            screen = shownBesides(&f.menu);
            if (screen == f.menu.viewEditScreen())
                Click(screen, "cmdOpenFile");
            if (dialogButton.isEmpty())
                (new QDialog(screen))->show();
            else
                Click(screen, qPrintable(dialogButton));
            open = shownBesides(screen);
            screen->hide();
            ShowMessage("Checked.", vbOKOnly, "");
            if (qobject_cast<frmCLTAddParts*>(open)) {
                Child<QLineEdit>(open, "txtSeqNum")->setText("5");
                Click(open, "cmdAddParts"); // no thickness
                for (auto [box, text] : {std::pair{"txtThickness", "0.75"}, {"txtWidth", "10"}, {"txtLength", "20"}})
                    Child<QLineEdit>(open, box)->setText(text);
                Click(open, "cmdAddParts");
                Click(open, "cmdDone");
            }
            QCoreApplication::exit(0);
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        vxtest::Settle();
        QCOMPARE(quits.count, 0);
        QCOMPARE(boxes.prompts.join(u'|'), prompts);
        const bool walked = screen == f.menu.viewEditScreen();
        QCOMPARE(open && open->isVisible(), !walked);
        QCOMPARE(screen->isVisible(), walked);
        QVERIFY(!walked || f.menu.viewEditScreen()->partsGrid()->Rows() == 2);
        delete open; // the next row finds its own windows
        delete screen;
    }

    void configurationUpdateCancelAndCloseControl_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Update Configuration") << 0;
        QTest::newRow("Cancel") << 1;
        QTest::newRow("close control") << 2;
    }
    void configurationUpdateCancelAndCloseControl()
    {
        QFETCH(int, how);
        MenuFixture f; // factory: Cutwise with Crayon Defecting, no accessories
        Click(&f.menu, "cmdSetup");
        QPointer<frmCLTSetup> setup = f.menu.setupScreen();
        QVERIFY(!f.menu.isVisible());
        QVERIFY(Child<QRadioButton>(setup, "optMachineType_2")->isChecked()); // shows the stored settings
        QVERIFY(!Child<QCheckBox>(setup, "chkAccessory_0")->isChecked());
        Child<QRadioButton>(setup, "optMachineType_0")->click();
        Child<QCheckBox>(setup, "chkAccessory_0")->click();
        Child<QCheckBox>(setup, "chkAccessory_2")->click();
        if (how == 0)
            Click(setup, "cmdUpdate");
        else if (how == 1)
            Click(setup, "cmdCancel");
        else
            vxtest::CloseWithControlMenu(setup);
        vxtest::Settle();
        QVERIFY(!setup);
        QVERIFY(f.menu.isVisible());
        bool updated = how == 0;
        QCOMPARE(State().MachineType, updated ? 0 : 2);
        QCOMPARE(State().PanelEnabled, !updated);
        QCOMPARE(State().Scribes, updated);
        QCOMPARE(State().PocketHoles, updated);
        QCOMPARE(f.setting("MachineType"), updated ? "0" : "2");
        QCOMPARE(f.setting("PocketHoles") != "0", updated);
    }

    void printsTheGridToTheChosenPrinter()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils, see scripts/install-deps) is needed to read the printout");
        // A column number prints as YES, a manual flag that is not set as NO.
        vxtest::ScreenFixture<frmCLTPrintMapping> f(
            "UPDATE tblPartsFileMapping SET UserLabel = 'SPECIES' WHERE MainName = 'MATERIAL';"
            "UPDATE tblPartsFileMapping SET PF_Col = 7, ManualField = NULL WHERE MainName = 'UF_3'");

        const QString pdf = QString::fromStdString(f.box.file("mapping.pdf"));
        int dialogs = 0;
        auto previous = SetPrintDialogHook([&](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        Click(f.screen, "cmdPrint");
        QCOMPARE(dialogs, 1);
        QVERIFY(f.presenter.prompts.empty());
        const QString text = vxtest::PdfText(pdf);
        QVERIFY2(!text.isEmpty(), "no printout");
        const QStringList lines = text.split(u'\n');
        auto lineWith = [&](const QString& first) {
            for (const QString& line : lines)
                if (line.simplified().startsWith(first + u' '))
                    return line.simplified();
            return QString();
        };
        QVERIFY(text.contains(QStringLiteral("Current Mapping")));
        QCOMPARE(lineWith("DB Name"), QString("DB Name Display Label Mapped Column Manual Parts Field"));
        QCOMPARE(lineWith("MATERIAL"), QString("MATERIAL SPECIES YES YES"));
        QCOMPARE(lineWith("SCRIBES"), QString("SCRIBES SCRIBES YES Config. Settings"));
        QCOMPARE(lineWith("UF_20"), QString("UF_20 UF_20 NO NO"));
        QCOMPARE(lineWith("UF_3"), QString("UF_3 UF_3 YES NO"));

        // A cancelled print dialog prints nothing.
        QFile::remove(pdf);
        SetPrintDialogHook([](QPrinter&) { return false; });
        Click(f.screen, "cmdPrint");
        QVERIFY(!QFile::exists(pdf));
        SetPrintDialogHook(previous);
    }
};

QTEST_MAIN(tst_frmCLTMain)
#include "tst_frmCLTMain.moc"
