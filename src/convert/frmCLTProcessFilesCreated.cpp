#include "convert/frmCLTProcessFilesCreated.h"

#include "ui/BoundGrid.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTProcessFilesCreated.h"

#include <QHeaderView>

namespace vx {

frmCLTProcessFilesCreated::frmCLTProcessFilesCreated(QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(new Ui::frmCLTProcessFilesCreated)
{
    m_ui->setupUi(this);
    m_ui->fgFileCreationGrid->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmCLTProcessFilesCreated::cmdOK_Click);
    ClearGrid();
}

frmCLTProcessFilesCreated::~frmCLTProcessFilesCreated() { m_ui->fgFileCreationGrid->Unbind(); }

BoundGrid* frmCLTProcessFilesCreated::grid() const { return m_ui->fgFileCreationGrid; }

void frmCLTProcessFilesCreated::ClearGrid()
{
    m_ui->fgFileCreationGrid->Unbind();
    m_rows = RecordSet::InMemory(
        {{"Process", FieldType::Text}, {"File Name", FieldType::Text}, {"Folder", FieldType::Text}});
    m_ui->fgFileCreationGrid->Bind(&m_rows);
}

void frmCLTProcessFilesCreated::AddGridRow(const QString& Process, const QString& FileName, const QString& Folder)
{
    m_rows.AddNew();
    m_rows.SetValue(0, Process.toStdString());
    m_rows.SetValue(1, FileName.toStdString());
    m_rows.SetValue(2, Folder.toStdString());
    m_rows.Update();
    m_ui->fgFileCreationGrid->Refresh();
}

void frmCLTProcessFilesCreated::Display()
{
    m_ui->fgFileCreationGrid->AutoSize();
    if (!isVisible())
        CentreOnDesktop(this);
    show();
    raise();
    activateWindow();
}

void frmCLTProcessFilesCreated::cmdOK_Click() { close(); }

} // namespace vx
