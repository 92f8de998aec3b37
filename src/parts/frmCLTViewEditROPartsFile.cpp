#include "parts/frmCLTViewEditROPartsFile.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "parts/PartsCellCheck.h"
#include "parts/frmCLTAddParts.h"
#include "parts/frmCLTPrintLabels.h"
#include "ui/BoundGrid.h"
#include "ui/CriteriaGridCheck.h"
#include "ui/CriteriaGridColumns.h"
#include "ui/FileDialogs.h"
#include "ui/FileDrop.h"
#include "ui/ListColumnCheck.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/PartDrawing.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTViewEditROPartsFile.h"

namespace vx {

namespace {
constexpr const char* kCaption = "View/Edit a Veltrax Parts File";
constexpr int kPartsAutoIdCol = 1;

} // namespace

frmCLTViewEditROPartsFile::frmCLTViewEditROPartsFile(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTViewEditROPartsFile), m_mainMenu(mainMenu)
{
    m_ui->setupUi(this);
    m_ui->fgROPartsFile->SetEditable(true);
    m_ui->fgROPartsFile->gridModel()->checkEdit = [this](int, int column, const Variant& value) {
        return CheckPartsCell(column, value) && MayWriteFile(true);
    };
    m_ui->fgROPartsFile->gridModel()->afterEdit = [this](int, int) { m_session.NoteOwnWrite(); };
    m_ui->fgPartsCriteria->SetEditable(true);
    InstallCriteriaCellCheck(*m_ui->fgPartsCriteria);
    m_ui->pnlPartDrawing->Follow(m_ui->fgROPartsFile, QStringLiteral("PartDrawingViewEdit"));
    connect(m_ui->cmdOpenFile, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdOpenFile_Click);
    connect(m_ui->cmdCloseFile, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdCloseFile_Click);
    connect(m_ui->cmdDeleteSelectedRows, &QPushButton::clicked, this,
            &frmCLTViewEditROPartsFile::cmdDeleteSelectedRows_Click);
    connect(m_ui->cmdAddParts, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdAddParts_Click);
    connect(m_ui->cmdPrintLabels, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdPrintLabels_Click);
    connect(m_ui->cmdApplyCriteria, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdApplyCriteria_Click);
    connect(m_ui->cmdCheckScribes, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdCheckScribes_Click);
    connect(m_ui->cmdCheckSpaceBalls, &QPushButton::clicked, this,
            &frmCLTViewEditROPartsFile::cmdCheckSpaceBalls_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTViewEditROPartsFile::cmdDone_Click);
    FileDropTarget::Install(this, [this](const QString& path) { OpenFile(path); });
}

frmCLTViewEditROPartsFile::~frmCLTViewEditROPartsFile() { UnbindGrids(); }

BoundGrid* frmCLTViewEditROPartsFile::partsGrid() const { return m_ui->fgROPartsFile; }
BoundGrid* frmCLTViewEditROPartsFile::criteriaGrid() const { return m_ui->fgPartsCriteria; }
frmCLTAddParts* frmCLTViewEditROPartsFile::addPartsDialog() const { return m_addParts; }

void frmCLTViewEditROPartsFile::Display()
{
    SizeForm();
    show();
    m_released = false;
    Guarded([&] {
        m_session.ConnectToPartsCriteriaDB();
        m_session.GetPartsCriteriaRS();
        DisplayPartsCriteria();
        m_session.GetMappingRS();
        m_session.GetMaterialsRS();
    });
    m_session.GetExtraSpaceBalls();
    m_ui->txtExtraSpaceBalls_0->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[0]));
    m_ui->txtExtraSpaceBalls_1->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[1]));
    const ProgramState& s = State();
    m_ui->cmdCheckScribes->setVisible(s.Scribes);
    m_ui->cmdCheckSpaceBalls->setVisible(s.SpaceBalls);
    m_ui->fraSpaceBalls->setVisible(s.SpaceBalls);
    ShowFileTitle();
}

void frmCLTViewEditROPartsFile::SizeForm()
{
    // Most of the work area, centred: the parts grid is what the operator came for.
    QRect area = DesktopWorkArea(this);
    resize(area.width() * 9 / 10, area.height() * 9 / 10);
    CentreOnDesktop(this);
}

void frmCLTViewEditROPartsFile::ShowFileTitle()
{
    QString caption = QString::fromUtf8(kCaption);
    if (m_session.IsFileOpen())
        caption += " - " + QString::fromStdString(m_session.FileTitle());
    setWindowTitle(caption);
}

void frmCLTViewEditROPartsFile::UnbindGrids()
{
    m_ui->fgROPartsFile->Unbind();
    m_ui->fgPartsCriteria->Unbind();
}

void frmCLTViewEditROPartsFile::DisplayRSInGrid()
{
    BoundGrid* grid = m_ui->fgROPartsFile;
    grid->Unbind();
    if (!m_session.IsFileOpen() || !m_session.PartsRS().IsOpen())
        return;
    grid->Bind(&m_session.PartsRS());
    grid->SetColHidden(kPartsAutoIdCol, true);
    LengthCol = SpaceBallsCol = ScribesCol = 0;

    const MappingFields& mapping = m_session.Mapping();
    const ProgramState& s = State();
    for (int c = kPartsAutoIdCol + 1; c < grid->Cols(); ++c) {
        std::string name = UpperCase(TrimBlanks(grid->TextMatrix(0, c).toStdString()));
        const MappingField* found = mapping.Find(name);
        if (name == "SPACEBALLS") {
            SpaceBallsCol = c;
            grid->SetColHidden(c, !s.SpaceBalls);
        } else if (name == "SCRIBES") {
            ScribesCol = c;
            if (found)
                grid->SetColHeading(c, QString::fromStdString(found->userLabel));
            grid->SetColHidden(c, !s.Scribes);
        } else if (name == "POCKETHOLES") {
            grid->SetColHidden(c, !s.PocketHoles);
        } else if (name == "B_GRADE") {
            grid->SetColHidden(c, !s.BGradeEnabled);
        } else if (name == "PANEL") {
            grid->SetColHidden(c, !s.PanelEnabled);
        } else {
            if (name == "LENGTH")
                LengthCol = c;
            if (found) {
                grid->SetColHeading(c, QString::fromStdString(found->userLabel));
                grid->SetColHidden(c, !found->manualField.value_or(false));
            }
        }
    }
    grid->AutoSize();
}

void frmCLTViewEditROPartsFile::DisplayPartsCriteria()
{
    BoundGrid* grid = m_ui->fgPartsCriteria;
    grid->Unbind();
    if (!m_session.CriteriaRS().IsOpen())
        return;
    grid->Bind(&m_session.CriteriaRS());
    ShowCriteriaColumnsForSettings(*grid);
    // Validity and process belong to the conversion; this screen does not apply them.
    grid->SetColHidden(CriteriaGridCol::ValidPart, true);
    grid->SetColHidden(CriteriaGridCol::Process, true);
    grid->AutoSize();
}

bool frmCLTViewEditROPartsFile::CheckPartsCell(int column, const Variant& value)
{
    RecordSet* rs = m_ui->fgROPartsFile->recordSet();
    if (!rs || column < 0 || column >= static_cast<int>(rs->Columns().size()))
        return true;
    const ColumnInfo& info = rs->Columns()[static_cast<size_t>(column)];
    std::string label = m_ui->fgROPartsFile->TextMatrix(0, column + 1).toStdString();
    std::optional<std::string> refusal = PartsCellRefusal(info.name, info.type, label, value.toText());
    if (refusal)
        ShowMessage(*refusal, vbOKOnly | vbExclamation, "");
    return !refusal;
}

bool frmCLTViewEditROPartsFile::MayWriteFile(bool fromGridEdit)
{
    if (m_session.FileUnchangedOnDisk())
        return true;
    if (ShowMessage(m_session.ChangedOnDiskQuestion(), vbYesNo | vbQuestion, "") == vbYes) {
        const QString path = QString::fromStdString(m_session.FilePath());
        // A grid edit is still under way in the grid: it is rebound once the edit is over.
        if (fromGridEdit)
            QMetaObject::invokeMethod(
                this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
        else
            OpenFile(path);
    }
    return false;
}

void frmCLTViewEditROPartsFile::cmdOpenFile_Click() { OpenFile({}); }

void frmCLTViewEditROPartsFile::OpenFile(const QString& dropped)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Cutwise Parts Files");
    request.filter = QStringLiteral("Cutwise Parts Files (*.rdb)|*.rdb|All Files (*.*)|*.*");
    std::optional<QString> chosen = dropped.isEmpty() ? RunFileDialog(request, this) : std::optional<QString>(dropped);
    if (!chosen)
        return;
    std::string path = chosen->toStdString();
    m_ui->fgROPartsFile->Unbind();
    Guarded([&] {
        WaitCursor hourglass;
        m_session.OpenFile(path, FileNameOf(path));
    });
    DisplayRSInGrid();
    ShowFileTitle();
}

void frmCLTViewEditROPartsFile::cmdCloseFile_Click()
{
    m_ui->fgROPartsFile->Unbind();
    m_session.CloseFile();
    LengthCol = SpaceBallsCol = ScribesCol = 0;
    ShowFileTitle();
}

void frmCLTViewEditROPartsFile::cmdDeleteSelectedRows_Click()
{
    Guarded([&] {
        BoundGrid* grid = m_ui->fgROPartsFile;
        if (!m_session.IsFileOpen() || m_session.PartsCount() == 0)
            return;
        QList<int> rows = grid->SelectedRows();
        if (rows.isEmpty())
            return;
        if (!MayWriteFile() || ShowMessage("Are you sure you want to deleted the selected rows?",
                                           vbYesNo | vbDefaultButton2, "Confirm Delete") != vbYes)
            return;
        // The parts are known by their AutoIDNum, read before the grid lets go of the rows.
        std::vector<int64_t> ids;
        for (int row : rows)
            ids.push_back(grid->TextMatrix(row, kPartsAutoIdCol).toLongLong());
        grid->Unbind();
        try {
            m_session.DeleteParts(ids);
        } catch (...) {
            m_session.GetRS();
            DisplayRSInGrid();
            throw;
        }
        DisplayRSInGrid();
    });
}

void frmCLTViewEditROPartsFile::cmdAddParts_Click()
{
    if (!m_session.IsFileOpen())
        return;
    if (!m_addParts)
        m_addParts = new frmCLTAddParts(this);
    m_addParts->Display();
    hide();
}

bool frmCLTViewEditROPartsFile::AddParts(const cCLTPart& NewPart)
{
    if (!MayWriteFile())
        return false;
    try {
        m_session.AddParts(NewPart);
        return true;
    } catch (const std::exception& e) {
        ShowStandardError(e);
        return false;
    }
}

void frmCLTViewEditROPartsFile::UpdateRecordSetAfterAddParts()
{
    m_ui->fgROPartsFile->Unbind();
    Guarded([&] { m_session.GetRS(); });
    DisplayRSInGrid();
}

void frmCLTViewEditROPartsFile::UpdatePartsCriteriaAfterNewParts()
{
    m_ui->fgPartsCriteria->Unbind();
    Guarded([&] { m_session.GetPartsCriteriaRS(); });
    DisplayPartsCriteria();
}

void frmCLTViewEditROPartsFile::cmdPrintLabels_Click()
{
    if (!m_session.IsFileOpen())
        return;
    Guarded([&] {
        if (m_session.PartsCount() == 0) {
            ShowMessage("There are no parts.", vbOKOnly, "");
            return;
        }
        std::vector<int> selected;
        for (int row : m_ui->fgROPartsFile->SelectedRows())
            selected.push_back(row - 1);
        frmCLTPrintLabels::PrintLabels(this, m_session.PartsRS(), selected, m_session.FileTitle(),
                                       *m_session.configuration());
    });
}

void frmCLTViewEditROPartsFile::cmdApplyCriteria_Click()
{
    if (!m_session.IsFileOpen())
        return;
    Guarded([&] {
        if (m_session.PartsCount() == 0) {
            ShowMessage("There are no parts.", vbOKOnly, "");
            return;
        }
        if (!MayWriteFile())
            return;
        UnbindGrids();
        m_session.ExtraSpaceBallTexts = {m_ui->txtExtraSpaceBalls_0->text().toStdString(),
                                         m_ui->txtExtraSpaceBalls_1->text().toStdString()};
        Guarded([&] {
            WaitCursor hourglass;
            m_session.GetPartsCriteriaRS();
            m_session.ApplyPartsCriteria();
        });
        m_ui->txtExtraSpaceBalls_0->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[0]));
        m_ui->txtExtraSpaceBalls_1->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[1]));
        DisplayPartsCriteria();
        DisplayRSInGrid();
    });
}

void frmCLTViewEditROPartsFile::cmdCheckScribes_Click()
{
    if (m_session.IsFileOpen())
        Guarded(
            [&] { CheckListColumn(*m_ui->fgROPartsFile, true, m_session.PartsCount() > 0, LengthCol, ScribesCol); });
}

void frmCLTViewEditROPartsFile::cmdCheckSpaceBalls_Click()
{
    if (m_session.IsFileOpen())
        Guarded([&] {
            CheckListColumn(*m_ui->fgROPartsFile, false, m_session.PartsCount() > 0, LengthCol, SpaceBallsCol);
        });
}

void frmCLTViewEditROPartsFile::Shutdown()
{
    if (m_addParts)
        m_addParts->Unload();
    if (!m_released) {
        m_released = true;
        m_session.ExtraSpaceBallTexts = {m_ui->txtExtraSpaceBalls_0->text().toStdString(),
                                         m_ui->txtExtraSpaceBalls_1->text().toStdString()};
        m_session.UpdateSpaceBalls();
        UnbindGrids();
        m_session.Release();
        if (m_mainMenu)
            m_mainMenu->show();
    }
    Unload();
}

void frmCLTViewEditROPartsFile::cmdDone_Click() { Shutdown(); }

void frmCLTViewEditROPartsFile::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
