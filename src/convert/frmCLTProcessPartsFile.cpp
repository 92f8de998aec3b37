#include "convert/frmCLTProcessPartsFile.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/modCLTSettings.h"
#include "convert/frmCLTBaseFileName.h"
#include "convert/frmCLTProcessFilesCreated.h"
#include "ui/BoundGrid.h"
#include "ui/CriteriaGridCheck.h"
#include "ui/CriteriaGridColumns.h"
#include "ui/FileDialogs.h"
#include "ui/FileDrop.h"
#include "ui/ListColumnCheck.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/PartDrawing.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTProcessPartsFile.h"

#include <QButtonGroup>

#include <map>

namespace vx {

namespace {
// Parts-grid columns fixed by the working table's layout.
constexpr int kPartsRecordCol = 1;
constexpr int kPartsPanelCol = 4;
constexpr int kPartsBGradeCol = 5;
constexpr int kPartsProcessCol = 6;
constexpr int kPartsFirstDataCol = 7;

constexpr int kCritProcessWidthTwips = 2000;
} // namespace

frmCLTProcessPartsFile::frmCLTProcessPartsFile(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTProcessPartsFile), m_mainMenu(mainMenu), m_progress(this)
{
    m_ui->setupUi(this);
    m_optLengthConversion = new QButtonGroup(this);
    m_optLengthConversion->addButton(m_ui->optLengthConversion_0, 0);
    m_optLengthConversion->addButton(m_ui->optLengthConversion_1, 1);
    m_optLengthConversion->addButton(m_ui->optLengthConversion_2, 2);
    m_ui->fgPartsCriteria->SetEditable(true);
    InstallCriteriaCellCheck(*m_ui->fgPartsCriteria);
    m_session.SetProgress(&m_progress);
    m_ui->pnlPartDrawing->Follow(m_ui->fgPartsFile, QStringLiteral("PartDrawingConvert"));
    connect(m_ui->cmdOpenPartsFile, &QPushButton::clicked, this, &frmCLTProcessPartsFile::cmdOpenPartsFile_Click);
    connect(m_ui->cmdApplyCriteria, &QPushButton::clicked, this, &frmCLTProcessPartsFile::cmdApplyCriteria_Click);
    connect(m_ui->cmdCheckScribes, &QPushButton::clicked, this, &frmCLTProcessPartsFile::cmdCheckScribes_Click);
    connect(m_ui->cmdCheckSpaceBalls, &QPushButton::clicked, this, &frmCLTProcessPartsFile::cmdCheckSpaceBalls_Click);
    connect(m_ui->cmdCreateROPartsFile, &QPushButton::clicked, this,
            &frmCLTProcessPartsFile::cmdCreateROPartsFile_Click);
    connect(m_ui->cmdCreateProcessFiles, &QPushButton::clicked, this,
            &frmCLTProcessPartsFile::cmdCreateProcessFiles_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTProcessPartsFile::cmdDone_Click);
    connect(m_optLengthConversion, &QButtonGroup::idClicked, this, &frmCLTProcessPartsFile::LengthConversionChosen);
    FileDropTarget::Install(this, [this](const QString& path) { OpenPartsFile(path); });
}

frmCLTProcessPartsFile::~frmCLTProcessPartsFile()
{
    UnbindGrids();
    if (m_filesCreated)
        delete m_filesCreated;
}

BoundGrid* frmCLTProcessPartsFile::partsGrid() const { return m_ui->fgPartsFile; }
BoundGrid* frmCLTProcessPartsFile::criteriaGrid() const { return m_ui->fgPartsCriteria; }
frmCLTProcessFilesCreated* frmCLTProcessPartsFile::filesCreatedScreen() const { return m_filesCreated; }

void frmCLTProcessPartsFile::Display(bool vis)
{
    SizeForm();
    if (vis)
        show();
    if (QAbstractButton* opt = m_optLengthConversion->button(State().ConvertLengthType))
        opt->setChecked(true);
    m_ui->lblFileOpened->clear();
    m_ui->lblWritten->clear();
    LoadSkipXLinesCombo();
    SetSkipFirstXLines();
    m_released = false;
    {
        WaitCursor hourglass;
        m_session.Prepare();
    }
    GetExtraSpaceBalls();
    DisplayRSInGrid();
    m_session.LastFileOpened.clear();
    SetProcessDropDown();
    DisplayPartsCriteria();
    ShowAccessoryControls();
    m_ui->chkAskIfValid->setChecked(State().AskIfValid == 1);
    m_storedAskIfValid = State().AskIfValid;
}

void frmCLTProcessPartsFile::SizeForm()
{
    // The whole work area less a small margin: 100 twips from the top, 200 twips in height.
    QRect area = DesktopWorkArea(this);
    int top = BoundGrid::TwipsToPixels(100, logicalDpiY());
    int margin = BoundGrid::TwipsToPixels(200, logicalDpiY());
    QRect frame = frameGeometry(), inner = geometry();
    int extraWidth = frame.width() - inner.width();
    int extraHeight = frame.height() - inner.height();
    move(area.left(), area.top() + top);
    resize(area.width() - extraWidth, area.height() - margin - extraHeight);
}

void frmCLTProcessPartsFile::LoadSkipXLinesCombo()
{
    m_ui->cmboSkipXLines->clear();
    for (int i = 0; i <= 100; ++i)
        m_ui->cmboSkipXLines->addItem(QString::number(i));
    m_ui->cmboSkipXLines->setCurrentIndex(0);
}

void frmCLTProcessPartsFile::SetSkipFirstXLines()
{
    m_ui->cmboSkipXLines->setEditText(QString::number(State().ProcessingSkipFirstXLines));
}

void frmCLTProcessPartsFile::GetExtraSpaceBalls()
{
    m_ui->txtExtraSpaceBalls_0->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[0]));
    m_ui->txtExtraSpaceBalls_1->setText(QString::fromStdString(m_session.ExtraSpaceBallTexts[1]));
}

void frmCLTProcessPartsFile::ShowAccessoryControls()
{
    const ProgramState& s = State();
    m_ui->cmdCheckScribes->setVisible(s.Scribes);
    m_ui->cmdCheckSpaceBalls->setVisible(s.SpaceBalls);
    m_ui->fraSpaceBalls->setVisible(s.SpaceBalls);
}

int frmCLTProcessPartsFile::SelectedLengthConversion() const
{
    int id = m_optLengthConversion->checkedId();
    return id < 0 ? 0 : id;
}

void frmCLTProcessPartsFile::CopyControlsToSession()
{
    m_session.SkipLinesText = m_ui->cmboSkipXLines->currentText().toStdString();
    m_session.LengthConversion = SelectedLengthConversion();
    m_session.ExtraSpaceBallTexts[0] = m_ui->txtExtraSpaceBalls_0->text().toStdString();
    m_session.ExtraSpaceBallTexts[1] = m_ui->txtExtraSpaceBalls_1->text().toStdString();
}

void frmCLTProcessPartsFile::UnbindGrids()
{
    m_ui->fgPartsFile->Unbind();
    m_ui->fgPartsCriteria->Unbind();
}

void frmCLTProcessPartsFile::DisplayRSInGrid()
{
    BoundGrid* grid = m_ui->fgPartsFile;
    grid->Unbind();
    if (!m_session.IsPrepared())
        return;
    grid->Bind(&m_session.PartsRS());
    const ProgramState& s = State();
    LengthCol = ScribesCol = SpaceBallsCol = 0;

    // Labels and columns of the mapping, read without touching the mapping's filter.
    struct MappingRow {
        QString label;
        int64_t column = 0;
    };
    std::map<std::string, MappingRow> mapping;
    RecordSet& map = m_session.MappingRS();
    if (map.IsOpen()) {
        int name = map.ColumnIndex("MainName"), label = map.ColumnIndex("UserLabel"), col = map.ColumnIndex("PF_Col");
        for (int r = 0; r < map.RecordCount(); ++r)
            mapping[UpperCase(map.ValueAt(r, name).toText())] = {QString::fromStdString(map.ValueAt(r, label).toText()),
                                                                 map.ValueAt(r, col).rawLong()};
    }

    grid->SetColHidden(kPartsRecordCol, true);
    grid->SetColHidden(kPartsBGradeCol, !s.BGradeEnabled);
    grid->SetColHidden(kPartsPanelCol, !s.PanelEnabled);
    grid->SetColComboList(kPartsProcessCol, QString::fromStdString(m_processDropDown));
    for (int c = kPartsFirstDataCol; c < grid->Cols(); ++c) {
        std::string heading = UpperCase(grid->TextMatrix(0, c).toStdString());
        grid->SetColHeading(c, QString::fromStdString(heading));
        if (heading == "LENGTH")
            LengthCol = c;
        else if (heading == "SCRIBES")
            ScribesCol = c;
        else if (heading == "SPACEBALLS")
            SpaceBallsCol = c;
        auto found = mapping.find(heading);
        if (heading == "SCRIBES") {
            grid->SetColHidden(c, !s.Scribes);
            if (found != mapping.end())
                grid->SetColHeading(c, found->second.label);
        } else if (heading == "POCKETHOLES") {
            grid->SetColHidden(c, !s.PocketHoles);
        } else if (heading == "SPACEBALLS") {
            grid->SetColHidden(c, !s.SpaceBalls);
        } else if (found != mapping.end()) {
            grid->SetColHeading(c, found->second.label);
            bool shown = found->second.column != 0 || (heading == "SEQ_NUM" && m_session.GenerateLineNumbers);
            grid->SetColHidden(c, !shown);
        } else {
            grid->SetColHidden(c, true);
        }
    }
    grid->AutoSize();
}

void frmCLTProcessPartsFile::SetProcessDropDown() { m_processDropDown = m_session.ProcessDropDownList(); }

void frmCLTProcessPartsFile::DisplayPartsCriteria()
{
    BoundGrid* grid = m_ui->fgPartsCriteria;
    grid->Unbind();
    if (!m_session.IsPrepared())
        return;
    grid->Bind(&m_session.CriteriaRS());
    ShowCriteriaColumnsForSettings(*grid);
    grid->AutoSize();
    grid->SetColComboList(CriteriaGridCol::Process, QString::fromStdString(m_processDropDown));
    grid->SetColWidthTwips(CriteriaGridCol::Process, kCritProcessWidthTwips);
}

void frmCLTProcessPartsFile::cmdOpenPartsFile_Click() { OpenPartsFile({}); }

void frmCLTProcessPartsFile::OpenPartsFile(const QString& dropped)
{
    State().AskIfValid = m_ui->chkAskIfValid->isChecked() ? 1 : 0;
    CopyControlsToSession();
    if (m_session.NotValidSkipLinesValue())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open Comma Delimited Parts File");
    request.filter = QString::fromStdString(PartsFileFilter(State().FileExtension));
    request.proposedPath = RememberedPath(QStringLiteral("LastPath1"));
    std::optional<QString> chosen = dropped.isEmpty() ? RunFileDialog(request, this) : std::optional<QString>(dropped);
    if (!chosen)
        return;
    RememberPath(QStringLiteral("LastPath1"), *chosen);
    std::string path = chosen->toStdString();
    m_ui->lblWritten->clear();
    UnbindGrids();
    {
        WaitCursor hourglass;
        m_session.OpenPartsFile(path, FileNameOf(path), false);
    }
    m_ui->lblFileOpened->setText(QString::fromStdString(m_session.FileOpenedLabel));
    GetExtraSpaceBalls();
    DisplayPartsCriteria();
    DisplayRSInGrid();
}

void frmCLTProcessPartsFile::LengthConversionChosen()
{
    // The choice applies when a file is read; an open file is read again only if wanted.
    if (!m_session.HasParts() || m_session.FileOpenedLabel.empty())
        return;
    const std::string path = m_session.FileOpenedLabel;
    if (ShowMessage("The length conversion applies when a file is read. Read " + path +
                        " again with the new length conversion?",
                    vbYesNo | vbQuestion, "Length Conversion") == vbYes)
        OpenPartsFile(QString::fromStdString(path));
}

void frmCLTProcessPartsFile::cmdApplyCriteria_Click()
{
    if (m_session.PartsCount() == 0) {
        ShowMessage("There are no parts.", vbOKOnly, "");
        return;
    }
    UnbindGrids();
    CopyControlsToSession();
    {
        WaitCursor hourglass;
        m_session.ApplyPartsCriteria();
    }
    GetExtraSpaceBalls();
    DisplayPartsCriteria();
    DisplayRSInGrid();
}

void frmCLTProcessPartsFile::cmdCheckScribes_Click()
{
    Guarded([&] { CheckListColumn(*m_ui->fgPartsFile, true, m_session.PartsCount() > 0, LengthCol, ScribesCol); });
}

void frmCLTProcessPartsFile::cmdCheckSpaceBalls_Click()
{
    Guarded([&] { CheckListColumn(*m_ui->fgPartsFile, false, m_session.PartsCount() > 0, LengthCol, SpaceBallsCol); });
}

void frmCLTProcessPartsFile::cmdCreateROPartsFile_Click()
{
    if (!m_session.CheckPartsToWrite())
        return;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.title = QStringLiteral("Create Veltrax Parts File");
    request.filter = QStringLiteral("Veltrax Parts Files (*.rdb)|*.rdb|All Files (*.*)|*.*");
    request.defaultExtension = QStringLiteral(".rdb");
    request.proposedPath = QString::fromStdString(
        JoinPath(RememberedPath(QStringLiteral("LastPath2")).toStdString(), m_session.LastFileOpened));
    request.overwritePrompt = true;
    std::optional<QString> chosen = RunFileDialog(request, this);
    if (!chosen)
        return;
    std::string target = chosen->toStdString();
    if (!IsProgramFile(target))
        RememberPath(QStringLiteral("LastPath2"), QString::fromStdString(FolderOf(target)));
    m_ui->fgPartsFile->Unbind();
    {
        WaitCursor hourglass;
        m_session.WriteROPartsFile(target);
    }
    m_ui->lblFileOpened->setText(QString::fromStdString(m_session.FileOpenedLabel));
    m_ui->lblWritten->setText(QString::fromStdString(m_session.WrittenStatus));
    DisplayRSInGrid();
}

void frmCLTProcessPartsFile::cmdCreateProcessFiles_Click()
{
    if (!m_session.CheckPartsToWrite())
        return;
    frmCLTBaseFileName dialog(this);
    dialog.SetStartFileName(QString::fromStdString(m_session.LastFileOpened));
    if (dialog.exec() != QDialog::Accepted)
        return;
    DoCreateFilesForProcesses(dialog.StartFileName().trimmed().toStdString());
}

void frmCLTProcessPartsFile::DoCreateFilesForProcesses(const std::string& BaseFileName)
{
    if (!m_filesCreated)
        m_filesCreated = new frmCLTProcessFilesCreated();
    m_filesCreated->ClearGrid();
    m_ui->fgPartsFile->Unbind();
    int files = 0;
    {
        WaitCursor hourglass;
        files = m_session.DoCreateFilesForProcesses(
            BaseFileName, [&](const std::string& process, const std::string& fileName, const std::string& folder) {
                m_filesCreated->AddGridRow(QString::fromStdString(process), QString::fromStdString(fileName),
                                           QString::fromStdString(folder));
            });
    }
    m_ui->lblWritten->setText(QString::fromStdString(m_session.WrittenStatus));
    DisplayRSInGrid();
    // With nothing written the parts stay loaded and the status line says so; a list of
    // files created would claim otherwise.
    if (files == 0) {
        m_filesCreated->hide();
        return;
    }
    m_ui->lblFileOpened->clear();
    m_filesCreated->Display();
}

void frmCLTProcessPartsFile::SaveAndRelease(bool takeAskIfValid)
{
    if (m_released)
        return;
    m_released = true;
    CopyControlsToSession();
    UnbindGrids();
    if (takeAskIfValid) {
        // Opening a file already copies the box into AskIfValid; comparing the box with that
        // copy would never find a change, and the operator's choice would be lost. Compare
        // with the value stored when the screen opened instead.
        State().AskIfValid = m_storedAskIfValid;
        m_session.Shutdown(m_ui->chkAskIfValid->isChecked() ? 1 : 0);
    } else
        m_session.AutoShutdown();
    if (m_mainMenu)
        m_mainMenu->show();
}

void frmCLTProcessPartsFile::Shutdown()
{
    SaveAndRelease(true);
    Unload();
}

void frmCLTProcessPartsFile::AutoShutdown()
{
    SaveAndRelease(false);
    Unload();
}

void frmCLTProcessPartsFile::CommandLineShutdown()
{
    UnbindGrids();
    m_session.CommandLineShutdown();
    m_released = true;
}

void frmCLTProcessPartsFile::cmdDone_Click() { Shutdown(); }

void frmCLTProcessPartsFile::QueryUnloadByControlMenu() { Shutdown(); }

} // namespace vx
