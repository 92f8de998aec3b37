#include "screens/frmCLTCombineFiles.h"

#include "base/Messages.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"
#include "ui/FileDrop.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTCombineFiles.h"

#include <QHeaderView>
#include <QShortcut>

namespace vx {

namespace {
const QString kPartsFilesFilter = QStringLiteral("Cutwise Parts Files (*.rdb)|*.rdb|All Files (*.*)|*.*");
} // namespace

frmCLTCombineFiles::frmCLTCombineFiles(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTCombineFiles), m_mainMenu(mainMenu), m_progress(this)
{
    m_ui->setupUi(this);
    m_ui->fgFilesToCombine->horizontalHeader()->setStretchLastSection(true);
    m_ui->fgFilesToCombine->Bind(&m_files.rs());
    connect(m_ui->cmdSelectFiles, &QPushButton::clicked, this, &frmCLTCombineFiles::cmdSelectFiles_Click);
    connect(m_ui->cmdRemoveFile, &QPushButton::clicked, this, &frmCLTCombineFiles::RemoveSelectedFiles);
    connect(m_ui->cmdClearTheList, &QPushButton::clicked, this, &frmCLTCombineFiles::cmdClearTheList_Click);
    connect(m_ui->cmdCombineTheFiles, &QPushButton::clicked, this, &frmCLTCombineFiles::cmdCombineTheFiles_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTCombineFiles::cmdDone_Click);
    auto* del = new QShortcut(QKeySequence::Delete, m_ui->fgFilesToCombine, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &frmCLTCombineFiles::RemoveSelectedFiles);
    FileDropTarget::InstallForFiles(this, [this](const QStringList& paths) { AddFiles(paths); });
}

frmCLTCombineFiles::~frmCLTCombineFiles() { m_ui->fgFilesToCombine->Unbind(); }

BoundGrid* frmCLTCombineFiles::grid() const { return m_ui->fgFilesToCombine; }

void frmCLTCombineFiles::Display()
{
    ClearFileList();
    CentreOnDesktop(this);
    show();
}

void frmCLTCombineFiles::ShowList()
{
    m_ui->fgFilesToCombine->Refresh();
    m_ui->fgFilesToCombine->horizontalHeader()->setStretchLastSection(true);
}

void frmCLTCombineFiles::ClearFileList()
{
    Guarded([&] { m_files.ClearFileList(); });
    ShowList();
}

void frmCLTCombineFiles::AddFiles(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    Guarded([&] { m_files.AddFiles(files); });
    ShowList();
}

void frmCLTCombineFiles::RemoveSelectedFiles()
{
    std::vector<int> indexes;
    for (int row : m_ui->fgFilesToCombine->SelectedRows())
        indexes.push_back(row - 1);
    Guarded([&] { m_files.RemoveFiles(indexes); });
    ShowList();
}

void frmCLTCombineFiles::cmdSelectFiles_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Cutwise Parts Files");
    request.filter = kPartsFilesFilter;
    AddFiles(RunOpenFilesDialog(request, this));
}

void frmCLTCombineFiles::cmdClearTheList_Click() { ClearFileList(); }

void frmCLTCombineFiles::cmdCombineTheFiles_Click()
{
    if (m_files.rs().RecordCount() == 0) {
        ShowMessage("No files in the list.", vbOKOnly, "");
        return;
    }
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.title = QStringLiteral("Create a New Cutwise Parts File");
    request.filter = kPartsFilesFilter;
    request.defaultExtension = QStringLiteral(".rdb");
    request.overwritePrompt = true;
    std::optional<QString> chosen = RunFileDialog(request, this);
    if (!chosen)
        return;
    {
        WaitCursor hourglass;
        m_files.CombineTheFiles(chosen->toStdString(), m_progress);
    }
    ShowList();
}

void frmCLTCombineFiles::Shutdown()
{
    m_ui->fgFilesToCombine->Unbind();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

void frmCLTCombineFiles::cmdDone_Click() { Shutdown(); }

void frmCLTCombineFiles::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
