#include "screens/frmCLTProcesses.h"

#include "screens/frmCLTYieldReportPath.h"
#include "ui/BoundGrid.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTProcesses.h"

#include <QHeaderView>

namespace vx {

namespace {
constexpr int kAutoIDCol = 1;
constexpr int kDescriptionCol = 2;
constexpr int kFileIDCol = 3;
constexpr int kSaveFileToCol = 4;
} // namespace

frmCLTProcesses::frmCLTProcesses(QWidget* mainMenu) : m_ui(new Ui::frmCLTProcesses), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    m_ui->fgProcesses->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->fgProcesses->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cmdAddProcess, &QPushButton::clicked, this, &frmCLTProcesses::cmdAddProcess_Click);
    connect(m_ui->cmdSaveProcessChanges, &QPushButton::clicked, this, &frmCLTProcesses::cmdSaveProcessChanges_Click);
    connect(m_ui->cmdPathSelect, &QPushButton::clicked, this, &frmCLTProcesses::cmdPathSelect_Click);
    connect(m_ui->cmdEditPathSelect, &QPushButton::clicked, this, &frmCLTProcesses::cmdEditPathSelect_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTProcesses::cmdDone_Click);
}

frmCLTProcesses::~frmCLTProcesses()
{
    m_ui->fgProcesses->Unbind();
    delete m_picker;
}

BoundGrid* frmCLTProcesses::grid() const { return m_ui->fgProcesses; }
frmCLTYieldReportPath* frmCLTProcesses::pathPicker() const { return m_picker; }

void frmCLTProcesses::Display()
{
    CentreOnDesktop(this);
    show();
    Guarded([&] {
        m_processes.Open();
        DisplayInGrid();
    });
}

void frmCLTProcesses::DisplayInGrid()
{
    BoundGrid* grid = m_ui->fgProcesses;
    grid->Unbind();
    grid->Bind(&m_processes.rs());
    grid->SetColHidden(kAutoIDCol, true);
    grid->AutoSize();
    // The selection model is replaced with each binding.
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCLTProcesses::fgProcesses_SelectionChanged, Qt::UniqueConnection);
}

void frmCLTProcesses::fgProcesses_SelectionChanged()
{
    QList<int> rows = m_ui->fgProcesses->SelectedRows();
    DisplayProcessInfoInEdit(rows.isEmpty() ? 0 : rows.front());
}

void frmCLTProcesses::DisplayProcessInfoInEdit(int row)
{
    BoundGrid* grid = m_ui->fgProcesses;
    if (row < 1 || row >= grid->Rows()) {
        m_selectedRow = 0;
        m_selectedAutoID = 0;
        m_ui->txtEditDescription->clear();
        m_ui->txtEidtFileID->clear();
        m_ui->txtEditFilePath->clear();
        return;
    }
    m_selectedRow = row;
    m_selectedAutoID = grid->TextMatrix(row, kAutoIDCol).toLongLong();
    m_ui->txtEditDescription->setText(grid->TextMatrix(row, kDescriptionCol));
    m_ui->txtEidtFileID->setText(grid->TextMatrix(row, kFileIDCol));
    m_ui->txtEditFilePath->setText(grid->TextMatrix(row, kSaveFileToCol));
}

void frmCLTProcesses::cmdAddProcess_Click()
{
    DisplayProcessInfoInEdit(0);
    Guarded([&] {
        m_ui->fgProcesses->Unbind();
        bool added =
            m_processes.AddProcess(m_ui->txtDescription->text().toStdString(), m_ui->txtFileID->text().toStdString(),
                                   m_ui->txtFilePath->text().toStdString());
        DisplayInGrid();
        if (added) {
            m_ui->txtDescription->clear();
            m_ui->txtFileID->clear();
            m_ui->txtFilePath->clear();
        }
    });
}

void frmCLTProcesses::SaveProcessChanges()
{
    if (m_selectedRow < 1)
        return;
    Guarded([&] {
        if (m_processes.SaveProcessChanges(m_selectedRow - 1, m_ui->txtEditDescription->text().toStdString(),
                                           m_ui->txtEidtFileID->text().toStdString(),
                                           m_ui->txtEditFilePath->text().toStdString()))
            m_ui->fgProcesses->Refresh();
    });
}

void frmCLTProcesses::cmdSaveProcessChanges_Click() { SaveProcessChanges(); }

void frmCLTProcesses::OpenPicker(int target)
{
    if (!m_picker)
        m_picker = new frmCLTYieldReportPath(this);
    m_picker->Display(target);
}

void frmCLTProcesses::cmdPathSelect_Click() { OpenPicker(1); }
void frmCLTProcesses::cmdEditPathSelect_Click() { OpenPicker(2); }

void frmCLTProcesses::SetChosenPath(int target, const QString& path)
{
    (target == 1 ? m_ui->txtFilePath : m_ui->txtEditFilePath)->setText(path);
}

void frmCLTProcesses::Shutdown()
{
    m_ui->fgProcesses->Unbind();
    m_processes.Close();
    if (m_picker)
        m_picker->close();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

void frmCLTProcesses::cmdDone_Click() { Shutdown(); }

void frmCLTProcesses::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
