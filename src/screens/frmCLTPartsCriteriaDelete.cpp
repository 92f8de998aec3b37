#include "screens/frmCLTPartsCriteriaDelete.h"

#include "base/Messages.h"
#include "ui/BoundGrid.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTPartsCriteriaDelete.h"

#include <QHeaderView>

namespace vx {

namespace {
constexpr int kYesNoDefaultNo = vbYesNo + vbDefaultButton2;
constexpr const char* kConfirmDelete = "Confirm Delete";
} // namespace

frmCLTPartsCriteriaDelete::frmCLTPartsCriteriaDelete(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTPartsCriteriaDelete), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    for (BoundGrid* grid : {m_ui->fgPartsCriteria, m_ui->fgMaterials, m_ui->fgProcesses})
        grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cmdDelete1, &QPushButton::clicked, this, &frmCLTPartsCriteriaDelete::cmdDelete1_Click);
    connect(m_ui->cmdDelete2, &QPushButton::clicked, this, &frmCLTPartsCriteriaDelete::cmdDelete2_Click);
    connect(m_ui->cmdDelete3, &QPushButton::clicked, this, &frmCLTPartsCriteriaDelete::cmdDelete3_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTPartsCriteriaDelete::cmdDone_Click);
}

frmCLTPartsCriteriaDelete::~frmCLTPartsCriteriaDelete()
{
    for (BoundGrid* grid : {m_ui->fgPartsCriteria, m_ui->fgMaterials, m_ui->fgProcesses})
        grid->Unbind();
}

BoundGrid* frmCLTPartsCriteriaDelete::partsCriteriaGrid() const { return m_ui->fgPartsCriteria; }
BoundGrid* frmCLTPartsCriteriaDelete::materialsGrid() const { return m_ui->fgMaterials; }
BoundGrid* frmCLTPartsCriteriaDelete::processesGrid() const { return m_ui->fgProcesses; }

void frmCLTPartsCriteriaDelete::Display()
{
    CentreOnDesktop(this);
    Guarded([&] {
        m_tables.Open();
        DisplayTable(m_ui->fgPartsCriteria, m_tables.PartsCriteria());
        DisplayTable(m_ui->fgMaterials, m_tables.Materials());
        DisplayTable(m_ui->fgProcesses, m_tables.Processes());
    });
    show();
    raise();
}

void frmCLTPartsCriteriaDelete::DisplayTable(BoundGrid* grid, RecordSet& rs)
{
    grid->Unbind();
    grid->Bind(&rs);
    for (int c = 1; c < grid->Cols(); ++c)
        grid->SetColHidden(c, c != 2);
}

std::vector<int> frmCLTPartsCriteriaDelete::SelectedIndexes(BoundGrid* grid)
{
    std::vector<int> indexes;
    for (int row : grid->SelectedRows())
        indexes.push_back(row - 1);
    return indexes;
}

void frmCLTPartsCriteriaDelete::DeleteSelected(BoundGrid* grid, RecordSet& rs)
{
    std::vector<int> indexes = SelectedIndexes(grid);
    if (indexes.empty())
        return;
    // Nothing brings a deleted part name or material back: one question per press.
    if (ShowMessage(CriteriaRemoval::DeleteRowsQuestion(rs, indexes), kYesNoDefaultNo, kConfirmDelete) != vbYes)
        return;
    Guarded([&] { CriteriaRemoval::DeleteRows(rs, indexes); });
    grid->clearSelection();
    grid->Refresh();
}

void frmCLTPartsCriteriaDelete::cmdDelete1_Click() { DeleteSelected(m_ui->fgPartsCriteria, m_tables.PartsCriteria()); }

void frmCLTPartsCriteriaDelete::cmdDelete2_Click() { DeleteSelected(m_ui->fgMaterials, m_tables.Materials()); }

void frmCLTPartsCriteriaDelete::cmdDelete3_Click()
{
    // The first process is kept (a selection holding it deletes nothing): say why.
    QList<int> rows = m_ui->fgProcesses->SelectedRows();
    if (rows.isEmpty())
        return;
    if (rows.front() == 1) {
        ShowMessage("The first process, " + m_ui->fgProcesses->TextMatrix(1, 2).toStdString() +
                        ", can not be deleted: parts without a process of their own go to it. Nothing was deleted.",
                    vbOKOnly | vbExclamation, "");
        return;
    }
    // The part names of a deleted process would point nowhere and fall out of every process
    // file; they move to the first process, which the question names.
    std::vector<int> indexes = SelectedIndexes(m_ui->fgProcesses);
    int answer = vbNo;
    Guarded([&] {
        answer = ShowMessage(m_tables.DeleteProcessesQuestion(indexes), kYesNoDefaultNo, kConfirmDelete);
        if (answer == vbYes)
            m_tables.DeleteProcesses(indexes);
    });
    if (answer != vbYes)
        return;
    m_ui->fgProcesses->clearSelection();
    m_ui->fgProcesses->Refresh();
    m_ui->fgPartsCriteria->Refresh();
}

void frmCLTPartsCriteriaDelete::Done()
{
    for (BoundGrid* grid : {m_ui->fgPartsCriteria, m_ui->fgMaterials, m_ui->fgProcesses})
        grid->Unbind();
    m_tables.Close();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

void frmCLTPartsCriteriaDelete::cmdDone_Click() { Done(); }

void frmCLTPartsCriteriaDelete::QueryUnloadByControlMenu() { Done(); }

} // namespace vx
