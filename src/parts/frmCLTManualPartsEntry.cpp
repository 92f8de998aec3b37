#include "parts/frmCLTManualPartsEntry.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "parts/cCLTPart.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"
#include "ui/PartDrawing.h"
#include "ui/PartEntryControls.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTManualPartsEntry.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

namespace vx {

namespace {
// Field panel grid columns (grid numbering: column 0 is the row header).
constexpr int kIDNumCol = 1;
constexpr int kMainNameCol = 2;
constexpr int kLabelCol = 3;
constexpr int kRequiredCol = 4;
constexpr int kUseCol = 5;
constexpr int kLabelWidthTwips = 4000;

const char* const kConfirmDelete = "Confirm Delete";
constexpr int kYesNoDefaultNo = vbYesNo + vbDefaultButton2; // 260

std::string CellLabel(const RecordSet& rs, int row)
{
    return UpperCase(TrimBlanks(rs.ValueAt(row, kLabelCol - 1).toText()));
}
} // namespace

frmCLTManualPartsEntry::frmCLTManualPartsEntry(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTManualPartsEntry), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    m_ui->entryControls->SetMode(PartEntryControls::Mode::ManualEntry);
    m_ui->fgManualParts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_ui->pnlPartDrawing->Follow(m_ui->fgManualParts, QStringLiteral("PartDrawingManualEntry"));
    BoundGrid* labels = m_ui->fgUserLabels;
    labels->SetEditable(true);
    labels->gridModel()->beforeEdit = [this](int row, int col) { return fgUserLabels_BeforeEdit(row, col + 1); };
    labels->gridModel()->startEdit = [this](int row, int col) { fgUserLabels_StartEdit(row, col + 1); };
    labels->gridModel()->afterEdit = [this](int row, int col) { fgUserLabels_AfterEdit(row, col + 1); };
    connect(m_ui->entryControls, &PartEntryControls::addRequested, this, &frmCLTManualPartsEntry::cmdAddTheParts_Click);
    connect(m_ui->cmdAddTheParts, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdAddTheParts_Click);
    connect(m_ui->cmdDeleteSelectedRows, &QPushButton::clicked, this,
            &frmCLTManualPartsEntry::cmdDeleteSelectedRows_Click);
    connect(m_ui->cmdDeleteAllParts, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdDeleteAllParts_Click);
    connect(m_ui->cmdSaveToFile, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdSaveToFile_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdDone_Click);
    connect(m_ui->cmdDefineFields, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdDefineFields_Click);
    connect(m_ui->cmdMappingGridSaveChanges, &QPushButton::clicked, this,
            &frmCLTManualPartsEntry::cmdMappingGridSaveChanges_Click);
    connect(m_ui->cmdCanel, &QPushButton::clicked, this, &frmCLTManualPartsEntry::cmdCanel_Click);
}

frmCLTManualPartsEntry::~frmCLTManualPartsEntry()
{
    m_ui->fgManualParts->Unbind();
    m_ui->fgUserLabels->Unbind();
}

BoundGrid* frmCLTManualPartsEntry::partsGrid() const { return m_ui->fgManualParts; }
BoundGrid* frmCLTManualPartsEntry::labelsGrid() const { return m_ui->fgUserLabels; }
PartEntryControls* frmCLTManualPartsEntry::entry() const { return m_ui->entryControls; }

void frmCLTManualPartsEntry::SizeForm() { CentreOnDesktop(this); }

void frmCLTManualPartsEntry::Display()
{
    PartEntryControls* entry = m_ui->entryControls;
    SizeForm();
    Guarded([&] {
        m_list.ConnectToDefDB();
        m_list.GetMappingRS();
    });
    show();
    Guarded([&] {
        m_list.GetPartsCriteriaRS();
        m_list.GetMaterialsRS();
        entry->LoadMaterialCombo(m_list.MaterialsRS());
        entry->LoadPartCombo(m_list.CriteriaRS());
    });
    // Nothing typed in an earlier visit survives.
    Guarded([&] {
        m_ui->fgManualParts->Unbind();
        m_list.ConnectToDB();
        m_list.DeleteAllParts();
    });
    Guarded([&] { m_list.GetPartsRS(); });
    DisplayPartsRSInGrid();
    SetGridColsToShow();
    SetPartLabels();
    SizeGridColumns();
    entry->InitializeUserFieldGrid(m_list.Mapping());
    SetUserFieldsToShow();
    show();
    entry->EnableOptions();
    entry->FocusFirstEntryBox();
}

void frmCLTManualPartsEntry::DisplayPartsRSInGrid()
{
    BoundGrid* grid = m_ui->fgManualParts;
    grid->Unbind();
    m_columnNames.clear();
    if (!m_list.PartsRS().IsOpen())
        return;
    grid->Bind(&m_list.PartsRS());
    m_columnNames << QString();
    for (int c = 1; c < grid->Cols(); ++c)
        m_columnNames << grid->TextMatrix(0, c).trimmed().toUpper();
}

void frmCLTManualPartsEntry::SetGridColsToShow()
{
    BoundGrid* grid = m_ui->fgManualParts;
    PartEntryControls* entry = m_ui->entryControls;
    const MappingFields& mapping = m_list.Mapping();
    const ProgramState& s = State();
    for (int c = 1; c < m_columnNames.size() && c < grid->Cols(); ++c) {
        const QString& name = m_columnNames[c];
        const std::string key = name.toStdString();
        if (name == "AUTOIDNUM" || name == "FILENAME") {
            grid->SetColHidden(c, true);
        } else if (name == "SCRIBES") {
            grid->SetColHeading(c, QString::fromStdString(mapping.LabelOf(key)));
            grid->SetColHidden(c, !s.Scribes);
            entry->ShowScribeEntry(s.Scribes);
        } else if (name == "SPACEBALLS") {
            grid->SetColHidden(c, !s.SpaceBalls);
            entry->ShowSpaceBallEntry(s.SpaceBalls);
        } else if (name == "POCKETHOLES") {
            grid->SetColHidden(c, !s.PocketHoles);
            entry->ShowPocketHoles(s.PocketHoles);
        } else if (name == "PANEL") {
            grid->SetColHidden(c, !s.PanelEnabled);
            entry->ShowPanel(s.PanelEnabled);
        } else if (name == "B_GRADE") {
            grid->SetColHidden(c, !s.BGradeEnabled);
            entry->ShowBGrade(s.BGradeEnabled);
        } else if (const MappingField* f = mapping.Find(key)) {
            grid->SetColHeading(c, QString::fromStdString(f->userLabel));
            // A field without a value still shows its column.
            grid->SetColHidden(c, !f->manualField.value_or(true));
        }
    }
}

void frmCLTManualPartsEntry::SizeGridColumns()
{
    BoundGrid* grid = m_ui->fgManualParts;
    if (grid->Rows() > 1)
        grid->scrollToTop();
    grid->AutoSize();
}

void frmCLTManualPartsEntry::SetPartLabels() { m_ui->entryControls->SetPartLabels(m_list.Mapping()); }

void frmCLTManualPartsEntry::SetUserFieldsToShow() { m_ui->entryControls->SetUserFieldsToShow(m_list.Mapping()); }

void frmCLTManualPartsEntry::cmdAddTheParts_Click()
{
    // Enter in an entry box comes here too; the field panel takes adding out of use.
    if (!m_ui->cmdAddTheParts->isEnabled())
        return;
    PartEntryControls* entry = m_ui->entryControls;
    bool isError = true;
    entry->CheckData(isError);
    if (isError)
        return;
    AddTheParts();
    entry->CheckForCmboNewMaterial();
    entry->CheckForCmboNewPart();
    // A model reset shows every column again and forgets the widths.
    m_ui->fgManualParts->Refresh();
    SetGridColsToShow();
    SizeGridColumns();
    entry->FocusFirstEntryBox();
}

void frmCLTManualPartsEntry::AddTheParts()
{
    PartEntryControls* entry = m_ui->entryControls;
    Guarded([&] {
        cCLTPart part;
        entry->FillPart(part);
        m_list.AddPart(part, entry->SeqNumber());
        if (entry->PartShown())
            m_list.CheckForNewPart(part.Part());
        if (entry->MaterialShown())
            m_list.CheckForNewMaterial(part.Material());
    });
}

void frmCLTManualPartsEntry::cmdDeleteSelectedRows_Click()
{
    BoundGrid* grid = m_ui->fgManualParts;
    const QList<int> rows = grid->SelectedRows();
    if (rows.isEmpty())
        return;
    if (ShowMessage("Are you sure you want to deleted the selected rows?", kYesNoDefaultNo, kConfirmDelete) != vbYes)
        return;
    std::vector<int64_t> keys;
    for (int row : rows)
        keys.push_back(grid->TextMatrix(row, 1).toLongLong());
    const int top = grid->rowAt(0);
    grid->Unbind();
    Guarded([&] { m_list.DeleteRows(keys); });
    grid->Bind(&m_list.PartsRS());
    SetGridColsToShow();
    grid->AutoSize();
    if (top >= 0 && top < grid->Rows() - 1)
        grid->scrollTo(grid->gridModel()->index(top, 0), QAbstractItemView::PositionAtTop);
}

void frmCLTManualPartsEntry::cmdDeleteAllParts_Click()
{
    if (ShowMessage("Are you sure you want to delete all the parts?", kYesNoDefaultNo, kConfirmDelete) != vbYes)
        return;
    m_ui->fgManualParts->Unbind();
    Guarded([&] {
        m_list.ConnectToDB();
        m_list.DeleteAllParts();
        m_list.GetPartsRS();
    });
    DisplayPartsRSInGrid();
    SetGridColsToShow();
    SetPartLabels();
    SizeGridColumns();
    SetUserFieldsToShow();
}

// ---------------------------------------------------------------- field panel

void frmCLTManualPartsEntry::cmdDefineFields_Click()
{
    LoadMappingGrid();
    MappingGridEnable(true);
}

void frmCLTManualPartsEntry::LoadMappingGrid()
{
    BoundGrid* grid = m_ui->fgUserLabels;
    grid->Unbind();
    Guarded([&] {
        m_list.GetMappingRS();
        m_labelsRS = RecordSet::InMemory({{"IDNum", FieldType::Long, false},
                                          {"MainName", FieldType::Text, false},
                                          {"UserLabel", FieldType::Text, false},
                                          {"RequiredField", FieldType::Boolean, false},
                                          {"ManualField", FieldType::Boolean, false}});
        Connection& c = *m_labelsRS.connection();
        Transaction tx(c);
        Statement st = c.Prepare("INSERT INTO mem VALUES (?1, ?2, ?3, ?4, ?5)");
        for (const MappingField& f : m_list.Mapping().rows()) {
            st.Reset();
            st.BindLong(1, f.idNum);
            st.BindText(2, f.mainName);
            st.BindText(3, f.userLabel);
            st.BindLong(4, f.required ? 1 : 0);
            if (f.manualField)
                st.BindLong(5, *f.manualField ? 1 : 0);
            else
                st.BindNull(5);
            st.Run();
        }
        tx.commit();
        m_labelsRS.Requery();
        grid->Bind(&m_labelsRS);
        grid->SetColHeading(kIDNumCol, QString());
        grid->SetColHeading(kMainNameCol, QStringLiteral("DB Name"));
        grid->SetColHeading(kLabelCol, QStringLiteral("Display Label"));
        grid->SetColHeading(kRequiredCol, QStringLiteral("Required Field"));
        grid->SetColHeading(kUseCol, QStringLiteral("Use This Field"));
        const auto& rows = m_list.Mapping().rows();
        // Whether scribes are typed follows the Scribes setting, not this panel.
        for (size_t r = 0; r < rows.size(); ++r)
            grid->setRowHidden(static_cast<int>(r), EqualsNoCase(TrimBlanks(rows[r].mainName), "SCRIBES"));
        grid->SetColHidden(kIDNumCol, true);
        grid->SetColHidden(kRequiredCol, true);
        grid->AutoSize();
        grid->SetColWidthTwips(kLabelCol, kLabelWidthTwips);
    });
    m_ui->fraUserLabels->show();
}

void frmCLTManualPartsEntry::MappingGridEnable(bool bEnable)
{
    m_ui->entryControls->SetEntryEnabled(!bEnable);
    for (QPushButton* b : {m_ui->cmdAddTheParts, m_ui->cmdDefineFields, m_ui->cmdDeleteAllParts,
                           m_ui->cmdDeleteSelectedRows, m_ui->cmdSaveToFile})
        b->setEnabled(!bEnable);
}

bool frmCLTManualPartsEntry::fgUserLabels_BeforeEdit(int row, int col) const
{
    return row >= 0 && (col == kLabelCol || col == kUseCol);
}

void frmCLTManualPartsEntry::fgUserLabels_StartEdit(int row, int col)
{
    if (col == kLabelCol)
        m_oldLabel = CellLabel(m_labelsRS, row);
}

void frmCLTManualPartsEntry::fgUserLabels_AfterEdit(int row, int col)
{
    Guarded([&] {
        if (col == kLabelCol) {
            const std::string label = CellLabel(m_labelsRS, row);
            if (label.empty()) {
                m_labelsRS.SetValueAt(row, kLabelCol - 1, m_oldLabel);
                ShowMessage("A Display Label can not be empty", vbOKOnly, "");
            } else {
                bool taken = false;
                for (int r = 0; r < m_labelsRS.RecordCount() && !taken; ++r)
                    taken = r != row && m_labelsRS.ValueAt(r, kLabelCol - 1).toText() == label;
                if (taken) {
                    ShowMessage(
                        "The new Display Label matchs an existing Display Label. Display Labels must be unique.",
                        vbOKOnly, "");
                    m_labelsRS.SetValueAt(row, kLabelCol - 1, m_oldLabel);
                } else {
                    m_labelsRS.SetValueAt(row, kLabelCol - 1, label);
                }
            }
        } else if (col == kUseCol && m_labelsRS.ValueAt(row, kRequiredCol - 1).toBool()) {
            m_labelsRS.SetValueAt(row, kUseCol - 1, true);
            ShowMessage("This is a required field.", vbOKOnly, "");
        }
    });
    m_ui->fgUserLabels->viewport()->update();
}

void frmCLTManualPartsEntry::cmdMappingGridSaveChanges_Click()
{
    bool saved = false;
    Guarded([&] {
        std::vector<MappingField> rows;
        for (int r = 0; r < m_labelsRS.RecordCount(); ++r) {
            MappingField f;
            f.idNum = m_labelsRS.ValueAt(r, kIDNumCol - 1).toLong();
            f.userLabel = m_labelsRS.ValueAt(r, kLabelCol - 1).toText();
            Variant use = m_labelsRS.ValueAt(r, kUseCol - 1);
            if (!use.isNull())
                f.manualField = use.toBool();
            rows.push_back(std::move(f));
        }
        m_list.SaveMappingChanges(rows);
        saved = true;
    });
    // A failed save keeps the panel open with the edits, to try again or cancel.
    if (!saved)
        return;
    m_ui->fraUserLabels->hide();
    MappingGridEnable(false);
    SetGridColsToShow();
    SetUserFieldsToShow();
    SetPartLabels();
    SizeGridColumns();
}

void frmCLTManualPartsEntry::cmdCanel_Click()
{
    m_ui->fraUserLabels->hide();
    MappingGridEnable(false);
}

// ---------------------------------------------------------------- saving

void frmCLTManualPartsEntry::cmdSaveToFile_Click()
{
    if (!m_list.HasParts()) {
        ShowMessage("There are no parts to save.", vbOKOnly, "");
        return;
    }
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.title = QStringLiteral("Create Parts File");
    request.filter = QStringLiteral("Parts Files (*.rdb)|*.rdb|All Files (*.*)|*.*");
    request.defaultExtension = QStringLiteral(".rdb");
    request.overwritePrompt = true;
    std::optional<QString> chosen = RunFileDialog(request, this);
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = chosen->toStdString();
    if (IsProgramFile(path)) {
        ShowMessage("The file selected is a file used by this software. You can not use this file.", vbOKOnly, "");
        return;
    }
    CreatePartsFile(path, FileNameOf(path));
}

void frmCLTManualPartsEntry::CreatePartsFile(const std::string& sFileName, const std::string& sFileTitle)
{
    m_ui->fgManualParts->Unbind();
    bool saved = false;
    Guarded([&] {
        m_list.CreatePartsFile(sFileName, sFileTitle, !m_ui->entryControls->SeqNumShown());
        saved = true;
    });
    if (saved)
        StartNewList();
    else
        ShowListAgain();
}

void frmCLTManualPartsEntry::StartNewList()
{
    Guarded([&] {
        m_list.ConnectToDB();
        m_list.DeleteAllParts();
        m_list.GetPartsRS();
    });
    DisplayPartsRSInGrid();
    SetGridColsToShow();
    SetUserFieldsToShow();
    SetPartLabels();
    SizeGridColumns();
}

// After a failed save the typed rows are still in the working database: show them again so
// that the operator can save elsewhere.
void frmCLTManualPartsEntry::ShowListAgain()
{
    Guarded([&] {
        m_list.ConnectToDB();
        m_list.GetPartsRS();
    });
    DisplayPartsRSInGrid();
    SetGridColsToShow();
    SizeGridColumns();
}

// ---------------------------------------------------------------- closing

bool frmCLTManualPartsEntry::MayClose()
{
    return !m_list.HasParts() ||
           ShowMessage("The parts entered have not been saved. Close anyway?", kYesNoDefaultNo, "") == vbYes;
}

void frmCLTManualPartsEntry::Shutdown()
{
    m_ui->fgManualParts->Unbind();
    m_ui->fgUserLabels->Unbind();
    m_list.Close();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

void frmCLTManualPartsEntry::cmdDone_Click()
{
    if (MayClose())
        Shutdown();
}

void frmCLTManualPartsEntry::closeEvent(QCloseEvent* event)
{
    if (CloseReasonOf(event) == CloseReason::ControlMenu && !MayClose()) {
        event->ignore();
        return;
    }
    ScreenWindow::closeEvent(event);
}

void frmCLTManualPartsEntry::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
