#include "mapping/frmCLTLoadDefaultMapping.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "config/RuntimeFiles.h"
#include "mapping/frmCLTPartsListMapping.h"
#include "ui/BoundGrid.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTLoadDefaultMapping.h"

#include <QHeaderView>
#include <QLineEdit>

namespace vx {

namespace {
constexpr int kIDNumCol = 1;
constexpr int kExtensionCol = 2;
constexpr int kDescriptionCol = 3;
constexpr int kTableNameCol = 4;
constexpr int kFirstRowIsNotPartCol = 5;
} // namespace

frmCLTLoadDefaultMapping::frmCLTLoadDefaultMapping(frmCLTPartsListMapping* mappingScreen, QWidget* mainMenu)
    : ScreenWindow(mappingScreen), m_ui(new Ui::frmCLTLoadDefaultMapping), m_mappingScreen(mappingScreen),
      m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    setWindowModality(Qt::ApplicationModal);
    m_ui->fgDefaultMappings->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->fgDefaultMappings->horizontalHeader()->setStretchLastSection(true);
    connect(m_ui->cmdLoadMapping, &QPushButton::clicked, this, &frmCLTLoadDefaultMapping::cmdLoadMapping_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmCLTLoadDefaultMapping::cmdCancel_Click);
    // A double click on a file type loads it, as selecting it and pressing the load button does.
    connect(m_ui->fgDefaultMappings, &QAbstractItemView::doubleClicked, this,
            &frmCLTLoadDefaultMapping::cmdLoadMapping_Click);
}

frmCLTLoadDefaultMapping::~frmCLTLoadDefaultMapping()
{
    m_ui->fgDefaultMappings->Unbind();
    m_rs.Close();
}

BoundGrid* frmCLTLoadDefaultMapping::grid() const { return m_ui->fgDefaultMappings; }

void frmCLTLoadDefaultMapping::Display()
{
    QWidget* over = m_mainMenu ? m_mainMenu : m_mappingScreen;
    if (over) {
        QRect frame = over->frameGeometry();
        move(frame.left() + (frame.width() - width()) / 2, frame.top() + (frame.height() - height()) / 2);
    }
    show();
    GetDefaultMappings();
}

void frmCLTLoadDefaultMapping::GetDefaultMappings()
{
    BoundGrid* grid = m_ui->fgDefaultMappings;
    grid->Unbind();
    Guarded([&] {
        m_rs.Open(Connection::Open(DefDatabasePath()), "SELECT * from tblDefaultMappingsID order by Extension asc");
        grid->Bind(&m_rs);
        grid->SetColHeading(kExtensionCol, QStringLiteral("Extension"));
        grid->SetColHeading(kDescriptionCol, QStringLiteral("Description"));
        for (int col : {kIDNumCol, kTableNameCol, kFirstRowIsNotPartCol})
            grid->SetColHidden(col, true);
        SizeGridColumns();
    });
}

void frmCLTLoadDefaultMapping::SizeGridColumns() { m_ui->fgDefaultMappings->AutoSize(); }

void frmCLTLoadDefaultMapping::GetSelectedRowNum(int& rowNum) const
{
    QList<int> rows = m_ui->fgDefaultMappings->SelectedRows();
    rowNum = rows.isEmpty() ? 0 : rows.front();
}

void frmCLTLoadDefaultMapping::cmdLoadMapping_Click()
{
    int row = 0;
    GetSelectedRowNum(row);
    if (row < 1)
        return;
    BoundGrid* grid = m_ui->fgDefaultMappings;
    std::string table = grid->TextMatrix(row, kTableNameCol).toStdString();
    QString extension = QString::fromStdString(TrimBlanks(grid->TextMatrix(row, kExtensionCol).toStdString()));
    if (m_mappingScreen)
        m_mappingScreen->fileExtensionBox()->setText(extension);
    ShowMessage("After the default mapping has been loaded, you will need to use \"Save the Mapping\" to have it "
                "saved.",
                vbOKOnly, "");
    if (m_mappingScreen)
        m_mappingScreen->LoadADefaultMapping(table);
    Shutdown();
}

void frmCLTLoadDefaultMapping::cmdCancel_Click() { Shutdown(); }

void frmCLTLoadDefaultMapping::Shutdown()
{
    m_ui->fgDefaultMappings->Unbind();
    m_rs.Close();
    Unload();
}

} // namespace vx
