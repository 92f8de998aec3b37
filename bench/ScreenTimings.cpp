// Times the screens on large inputs, offscreen: opening a cut list in the convert screen,
// opening a parts file in the view/edit screen, printing 1,000 part labels to PDF,
// combining a folder of parts files and typing parts by hand. Prints one line per measurement for bench/run-bench.
// Usage: vx-screentimings convert <cut list> [configuration SQL] | view-edit <parts file> |
//        labels <parts file> | combine <folder> | manual <rows>
// The configuration SQL, if given, is run against the factory configuration first.
#include "ScreenTestTools.h"
#include "TestSupport.h"
#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/modCLTSettings.h"
#include "convert/frmCLTProcessPartsFile.h"
#include "parts/frmCLTManualPartsEntry.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "screens/frmCLTCombineFiles.h"
#include "ui/BoundGrid.h"
#include "ui/PartLabelPrinting.h"
#include "ui/PrintDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>

#include <cstdio>
#include <functional>

using namespace vx;

namespace {

// Times an open (the grid shown) and the scroll to the last row.
void TimeOpening(const std::function<void()>& open, BoundGrid* grid)
{
    QElapsedTimer timer;
    timer.start();
    open();
    QCoreApplication::processEvents();
    const qint64 opened = timer.elapsed();
    grid->scrollToBottom();
    QCoreApplication::processEvents();
    std::printf("rows %d, open %lld ms, scroll to last row %lld ms\n", grid->Rows() - 1, opened,
                timer.elapsed() - opened);
}

void OpenCutList(const QString& path, vxtest::ScriptedFileDialogs& dialogs)
{
    State().AskIfValid = 0;
    frmCLTProcessPartsFile screen(nullptr);
    screen.Display(true);
    dialogs.answer(path.toStdString());
    TimeOpening([&] { screen.cmdOpenPartsFile_Click(); }, screen.partsGrid());
    screen.CommandLineShutdown();
}

void OpenPartsFile(const QString& path, vxtest::ScriptedFileDialogs& dialogs)
{
    auto* screen = new frmCLTViewEditROPartsFile(nullptr);
    screen->Display();
    dialogs.answer(path.toStdString());
    TimeOpening([&] { screen->cmdOpenFile_Click(); }, screen->partsGrid());
    screen->Shutdown();
}

// Prints one label per row for the first 1,000 rows of a parts file to PDF, on A4 sheets of
// 2 x 7 labels, through the view/edit screen's label dialog.
void PrintLabels(const QString& path, const vxtest::RuntimeSandbox& box, vxtest::ScriptedFileDialogs& dialogs)
{
    auto* screen = new frmCLTViewEditROPartsFile(nullptr);
    screen->Display();
    dialogs.answer(path.toStdString());
    screen->cmdOpenFile_Click();
    BoundGrid* grid = screen->partsGrid();
    const int rows = std::min(1000, grid->Rows() - 1);
    grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 0), grid->model()->index(rows - 1, 0)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString pdf = QString::fromStdString(box.file("labels.pdf"));
    SetPrintDialogHook([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        vxtest::Child<QComboBox>(dialog, "cmboSheet")->setCurrentIndex(int(LabelSheet::A4_2x7));
        vxtest::Child<QRadioButton>(dialog, "optPerRow")->click();
        vxtest::Child<QRadioButton>(dialog, "optSelectedRows")->click();
        vxtest::Click(dialog, "cmdPrint");
    });
    QElapsedTimer timer;
    timer.start();
    vxtest::Click(screen, "cmdPrintLabels");
    std::printf("labels %d, to PDF %lld ms (%lld KB)\n", rows, timer.elapsed(), QFileInfo(pdf).size() / 1024);
    SetPrintDialogHook({});
    screen->Shutdown();
}

void Combine(const QString& folder, const vxtest::RuntimeSandbox& box, vxtest::ScriptedFileDialogs& dialogs)
{
    QWidget menu;
    frmCLTCombineFiles screen(&menu);
    screen.setAttribute(Qt::WA_DeleteOnClose, false);
    screen.Display();
    std::string list;
    int files = 0;
    for (const QString& name : QDir(folder).entryList({"*.rdb"})) {
        list += folder.toStdString() + "/" + name.toStdString() + '\0';
        ++files;
    }
    dialogs.answer(list);
    vxtest::Click(&screen, "cmdSelectFiles");
    const std::string combined = box.file("combined.rdb");
    dialogs.answer(combined);
    QElapsedTimer timer;
    timer.start();
    vxtest::Click(&screen, "cmdCombineTheFiles");
    std::printf("files %d, parts %s, combine %lld ms\n", files,
                vxtest::QueryScalar(combined, "SELECT count(*) FROM tblParts").c_str(), timer.elapsed());
}

void TypeParts(int count, vxtest::ScriptedPresenter& presenter)
{
    QWidget menu;
    auto* form = new frmCLTManualPartsEntry(&menu);
    form->Display();
    QElapsedTimer timer;
    timer.start();
    qint64 slowest = 0;
    for (int i = 1; i <= count; ++i) {
        const qint64 before = timer.elapsed();
        vxtest::Child<QLineEdit>(form, "txtSeqNum")->setText("1");
        vxtest::Child<QLineEdit>(form, "txtWidth")->setText("12");
        vxtest::Child<QLineEdit>(form, "txtLength")->setText(QString::number(10 + i % 90));
        vxtest::Child<QComboBox>(form, "cmboPart")->setEditText("SHELF");
        vxtest::Child<QComboBox>(form, "cmboMaterial")->setEditText("BIRCH PLY");
        vxtest::Click(form, "cmdAddTheParts");
        slowest = std::max(slowest, timer.elapsed() - before);
    }
    const qint64 added = timer.elapsed();
    form->partsGrid()->selectAll();
    presenter.answer(vbYes);
    timer.restart();
    vxtest::Click(form, "cmdDeleteSelectedRows");
    std::printf("rows %d, add %.1f ms on average (slowest %lld ms), delete them all selected %lld ms\n", count,
                double(added) / count, slowest, timer.elapsed());
    form->Unload();
    vxtest::Settle();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s convert|view-edit|labels|combine|manual <path or rows>\n", argv[0]);
        return 2;
    }
    const QString mode = argv[1], arg = QString::fromLocal8Bit(argv[2]);
    vxtest::RuntimeSandbox box;
    vxtest::ScriptedPresenter presenter;
    vxtest::ScriptedFileDialogs dialogs;
    vxtest::UseSettingsFolder(box.file("settings"));
    if (argc == 4) {
        QFile sql(QString::fromLocal8Bit(argv[3]));
        if (!sql.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[3]);
            return 2;
        }
        box.execDef(sql.readAll().toStdString());
    }
    LoadSettings();
    if (mode == "convert")
        OpenCutList(arg, dialogs);
    else if (mode == "view-edit")
        OpenPartsFile(arg, dialogs);
    else if (mode == "labels")
        PrintLabels(arg, box, dialogs);
    else if (mode == "combine")
        Combine(arg, box, dialogs);
    else if (mode == "manual")
        TypeParts(arg.toInt(), presenter);
    else
        return 2;
    return 0;
}
