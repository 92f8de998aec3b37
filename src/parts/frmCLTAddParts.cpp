#include "parts/frmCLTAddParts.h"

#include "base/Messages.h"
#include "config/RuntimeFiles.h"
#include "parts/PartEntry.h"
#include "parts/cCLTPart.h"
#include "parts/frmCLTViewEditROPartsFile.h"
#include "ui/PartEntryControls.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTAddParts.h"

namespace vx {

frmCLTAddParts::frmCLTAddParts(frmCLTViewEditROPartsFile* viewEdit)
    : ScreenWindow(viewEdit), m_ui(new Ui::frmCLTAddParts), m_viewEdit(viewEdit)
{
    m_ui->setupUi(this);
    m_ui->entryControls->SetMode(PartEntryControls::Mode::AddParts);
    connect(m_ui->cmdAddParts, &QPushButton::clicked, this, &frmCLTAddParts::cmdAddParts_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTAddParts::cmdDone_Click);
    connect(m_ui->entryControls, &PartEntryControls::addRequested, this, &frmCLTAddParts::cmdAddParts_Click);
}

frmCLTAddParts::~frmCLTAddParts() = default;

PartEntryControls* frmCLTAddParts::entry() const { return m_ui->entryControls; }

void frmCLTAddParts::Display()
{
    PartEntryControls* entry = m_ui->entryControls;
    Guarded([&] {
        // The configuration is read once; the dialog holds no connection while it is open.
        std::shared_ptr<Connection> def = Connection::Open(DefDatabasePath());
        RecordSet materials(def, "Select * from tblMaterials order by Material");
        RecordSet criteria(def, "Select * from tblPartsCriteria order by Part");
        MappingFields mapping = MappingFields::Read(*def);
        entry->LoadMaterialCombo(materials);
        entry->LoadPartCombo(criteria);
        entry->SetUpForCriteria(mapping);
        entry->InitializeUserFieldGrid(mapping);
        entry->SetUserFieldsToShow(mapping);
    });
    adjustSize();
    CentreOnDesktop(this);
    show();
    entry->FocusFirstEntryBox();
}

bool frmCLTAddParts::PassPartsData()
{
    cCLTPart part;
    m_ui->entryControls->FillPart(part);
    return m_viewEdit && m_viewEdit->AddParts(part);
}

void frmCLTAddParts::cmdAddParts_Click()
{
    bool IsError = true;
    m_ui->entryControls->CheckData(IsError);
    if (IsError || !PassPartsData())
        return;
    m_ui->entryControls->CheckForCmboNewMaterial();
    m_ui->entryControls->CheckForCmboNewPart();
    ShowMessage("Parts have been added.", vbOKOnly, "");
}

void frmCLTAddParts::Shutdown()
{
    if (!m_closed && m_viewEdit) {
        m_closed = true;
        m_viewEdit->UpdateRecordSetAfterAddParts();
        m_viewEdit->UpdatePartsCriteriaAfterNewParts();
        m_viewEdit->show();
    }
    Unload();
}

void frmCLTAddParts::cmdDone_Click() { Shutdown(); }

void frmCLTAddParts::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
