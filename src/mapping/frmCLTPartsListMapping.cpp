#include "mapping/frmCLTPartsListMapping.h"

#include "convert/DimensionsCell.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "config/modCLTSettings.h"
#include "config/modCLTTools.h"
#include "mapping/DefaultMapping.h"
#include "mapping/HeaderMatch.h"
#include "mapping/frmCLTLoadDefaultMapping.h"
#include "ui/BoundGrid.h"
#include "ui/FileDialogs.h"
#include "ui/FileDrop.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/ScreenTools.h"
#include "ui_frmCLTPartsListMapping.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QTimer>

namespace vx {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kMappingRowCaption = "MAPPING ROW >:";
constexpr int kLabelIDNumCol = 1; // grid columns of the label grid
constexpr int kLabelMainNameCol = 2;
constexpr int kLabelDisplayCol = 3;
constexpr int kDisplayLabelWidthTwips = 4000;
constexpr int kMaxSkipChoice = 100;
// The example grid holds one table column per file column; the store allows 2000 columns.
constexpr int kMaxExampleColumns = 1990;
constexpr int kRowsPerUpdate = 1000;

const QColor kMappingRowColour(255, 255, 0); // colour value 65535

std::string HelpText()
{
    return std::string("Click on a column in the \"MAPPING ROW >:\" above to activate a drop down list for mapping the "
                       "column.") +
           kCrLf + kCrLf +
           "If you want, you can edit the \"Display Label\" to the left to specify the labels you want displayed for "
           "columns. For example, you could enter SPECIES as the display label for MATERIAL and SPECIES would be "
           "shown as the label for the column.";
}

// The grids' delegate with two additions: a screen rule that may refuse an editor before it
// opens, and per-cell colouring. A drop-down opens its list at once and takes a choice when
// it is clicked, so one click on a mapping cell is enough to map a column.
class MappingGridDelegate : public BoundGridDelegate {
public:
    MappingGridDelegate(BoundGridModel* model, QObject* parent) : BoundGridDelegate(model, parent) {}

    std::function<bool(const QModelIndex&)> refuse;
    std::function<void(QStyleOptionViewItem*, const QModelIndex&)> style;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (refuse && refuse(index))
            return nullptr;
        QWidget* editor = BoundGridDelegate::createEditor(parent, option, index);
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            auto* self = const_cast<MappingGridDelegate*>(this);
            connect(box, &QComboBox::activated, self, [self, box] {
                emit self->commitData(box);
                emit self->closeEditor(box);
            });
            QTimer::singleShot(0, box, [box] { box->showPopup(); });
        }
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        BoundGridDelegate::initStyleOption(option, index);
        if (style)
            style(option, index);
    }
};

std::string TextOf(const QString& text) { return text.toStdString(); }

} // namespace

frmCLTPartsListMapping::frmCLTPartsListMapping(QWidget* mainMenu)
    : m_ui(new Ui::frmCLTPartsListMapping), m_mainMenu(mainMenu), m_progress(this)
{
    m_ui->setupUi(this);
    connect(m_ui->cmdOpenFile, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdOpenFile_Click);
    connect(m_ui->cmdLoadDefaultMapping, &QPushButton::clicked, this,
            &frmCLTPartsListMapping::cmdLoadDefaultMapping_Click);
    connect(m_ui->cmdCheckMapping, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdCheckMapping_Click);
    connect(m_ui->cmdReset, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdReset_Click);
    connect(m_ui->cmdMatchHeaders, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdMatchHeaders_Click);
    connect(m_ui->cmdSaveMapping, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdSaveMapping_Click);
    connect(m_ui->cmdDone, &QPushButton::clicked, this, &frmCLTPartsListMapping::cmdDone_Click);

    BoundGrid* example = m_ui->fgMapping;
    example->setAlternatingRowColors(false);
    auto* exampleDelegate = new MappingGridDelegate(example->gridModel(), example);
    exampleDelegate->style = [this](QStyleOptionViewItem* option, const QModelIndex& index) {
        if (index.column() == 0)
            option->backgroundBrush = palette().button();
        else if (index.row() == 0)
            option->backgroundBrush = kMappingRowColour;
    };
    example->setItemDelegate(exampleDelegate);
    example->gridModel()->beforeEdit = [](int row, int col) { return row == 0 && col >= 1; };
    example->gridModel()->startEdit = [this](int row, int col) {
        if (row == 0 && col >= 1)
            m_ui->fgMapping->gridModel()->SetComboList(col, QString::fromStdString(m_mapping.CreateComboList()));
    };
    example->gridModel()->afterEdit = [this](int row, int col) { fgMapping_AfterEdit(row, col); };

    BoundGrid* labels = m_ui->fgUserLabels;
    labels->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* labelDelegate = new MappingGridDelegate(labels->gridModel(), labels);
    labelDelegate->refuse = [this](const QModelIndex& index) { return RefuseLabelEdit(index.row()); };
    labels->setItemDelegate(labelDelegate);
    labels->gridModel()->beforeEdit = [](int, int col) { return col == kLabelDisplayCol - 1; };
    labels->gridModel()->afterEdit = [this](int row, int col) { fgUserLabels_AfterEdit(row, col); };

    // The example is split again at once, as the conversion will split it.
    connect(m_ui->chkQuotedFields, &QCheckBox::toggled, this, [this] {
        if (!m_examplePath.isEmpty() && !NotValidSkipLinesValue())
            OpenExampleFile(m_examplePath);
    });

    // The order of a DIMENSIONS cell counts for the check at once; feet need lengths with units.
    for (const std::string& order : DimensionOrders())
        m_ui->cmboDimensionsOrder->addItem(
            QString::fromStdString(order).split(QString(), Qt::SkipEmptyParts).join(QChar(0x00D7)),
            QString::fromStdString(order));
    connect(m_ui->cmboDimensionsOrder, &QComboBox::currentIndexChanged, this,
            [this] { State().DimensionsOrder = m_ui->cmboDimensionsOrder->currentData().toString().toStdString(); });
    connect(m_ui->chkLengthsWithUnits, &QCheckBox::toggled, m_ui->chkFeetAndInches, &QCheckBox::setEnabled);

    FileDropTarget::Install(this, [this](const QString& path) {
        if (!NotValidSkipLinesValue())
            OpenExampleFile(path);
    });
}

frmCLTPartsListMapping::~frmCLTPartsListMapping()
{
    delete m_defaults;
    ReleaseTables();
}

BoundGrid* frmCLTPartsListMapping::mappingGrid() const { return m_ui->fgMapping; }
BoundGrid* frmCLTPartsListMapping::labelGrid() const { return m_ui->fgUserLabels; }
QLineEdit* frmCLTPartsListMapping::fileExtensionBox() const { return m_ui->txtFileExtension; }
frmCLTLoadDefaultMapping* frmCLTPartsListMapping::defaultMappingDialog() const { return m_defaults; }

QString frmCLTPartsListMapping::ExampleCell(int row, int col) const
{
    if (row == 0)
        return col < 1 ? QString() : m_ui->fgMapping->TextMatrix(0, col + 1);
    return m_ui->fgMapping->TextMatrix(row, col + 1);
}

void frmCLTPartsListMapping::Display()
{
    CentreOnDesktop(this);
    show();
    m_released = false;
    LoadSkipXLinesCombo();
    m_ui->txtFileExtension->setText(QString::fromStdString(TrimBlanks(State().FileExtension)));
    SetHelpText();
    Guarded([&] {
        m_conn = Connection::Open(DefDatabasePath());
        m_mapping.UseConnection(m_conn);
    });
    if (m_conn) {
        m_mapping.GetRS();
        m_mapping.CreateComboList();
        GetDelimiter();
    }
    SetSkipFirstXLines();
    {
        const QSignalBlocker quiet(m_ui->chkQuotedFields);
        m_ui->chkQuotedFields->setChecked(State().QuotedFields);
    }
    m_ui->chkLengthsWithUnits->setChecked(State().LengthsWithUnits);
    m_ui->chkFeetAndInches->setChecked(State().FeetAndInches);
    m_ui->chkFeetAndInches->setEnabled(State().LengthsWithUnits);
    m_ui->chkSortDimensions->setChecked(State().SortDimensions);
    m_ui->cmboDimensionsOrder->setCurrentIndex(
        m_ui->cmboDimensionsOrder->findData(QString::fromStdString(DimensionOrderOf(State().DimensionsOrder))));
    EnabledButtons(false);
}

void frmCLTPartsListMapping::EnabledButtons(bool b)
{
    for (QPushButton* button :
         {m_ui->cmdLoadDefaultMapping, m_ui->cmdCheckMapping, m_ui->cmdSaveMapping, m_ui->cmdReset})
        button->setEnabled(b);
    m_ui->cmdMatchHeaders->setEnabled(b && !m_example.HeaderFields.empty());
    m_ui->Text1->setVisible(b);
    m_ui->fgMapping->SetEditable(b);
    m_ui->fgUserLabels->SetEditable(b);
    if (b)
        m_ui->fgMapping->setEditTriggers(QAbstractItemView::AllEditTriggers);
}

void frmCLTPartsListMapping::SetHelpText()
{
    m_ui->Text1->setPlainText(QString::fromStdString(HelpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmCLTPartsListMapping::LoadSkipXLinesCombo()
{
    m_ui->cmboSkipXLines->clear();
    for (int i = 0; i <= kMaxSkipChoice; ++i)
        m_ui->cmboSkipXLines->addItem(QString::number(i));
    m_ui->cmboSkipXLines->setCurrentIndex(0);
}

void frmCLTPartsListMapping::SetSkipFirstXLines()
{
    m_ui->cmboSkipXLines->setEditText(QString::number(State().MappingSkipFirstXLines));
}

void frmCLTPartsListMapping::GetDelimiter()
{
    m_ui->cmboDelimiter->clear();
    Guarded([&] {
        RecordSet rs(m_conn, "SELECT * from tblDelimiters order by ID asc");
        int selected = 0;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            int32_t id = rs.Value("ID").toLong();
            m_ui->cmboDelimiter->addItem(QString::fromStdString(rs.Value("Delimiter_Name").toText()), id);
            if (rs.Value("Selected").toBool())
                selected = id - 1;
        }
        const int count = m_ui->cmboDelimiter->count();
        if (count > 0)
            m_ui->cmboDelimiter->setCurrentIndex(selected >= 0 && selected < count ? selected : 0);
    });
}

std::string frmCLTPartsListMapping::CurrentDelimiterSelected() const
{
    std::string delimiter;
    if (m_ui->cmboDelimiter->currentIndex() < 0 || !m_conn)
        return delimiter;
    Guarded([&] {
        Statement st = m_conn->Prepare("SELECT Delimiter FROM tblDelimiters WHERE ID = ?1");
        st.BindLong(1, m_ui->cmboDelimiter->currentData().toLongLong());
        if (st.Step())
            delimiter = st.ColumnText(0);
    });
    return delimiter;
}

void frmCLTPartsListMapping::SaveDelimiterSelection()
{
    if (m_ui->cmboDelimiter->currentIndex() < 0)
        return;
    std::string delimiter = CurrentDelimiterSelected();
    if (!delimiter.empty())
        SaveDelimiter(delimiter);
}

bool frmCLTPartsListMapping::NotValidSkipLinesValue()
{
    try {
        int32_t value = 0;
        std::string message;
        if (CheckLongValue("Skip first x lines", TextOf(m_ui->cmboSkipXLines->currentText()), value, 0, true,
                           message)) {
            m_ui->cmboSkipXLines->setEditText(QString::number(value));
            return false;
        }
        ShowMessage(message, vbOKOnly, "");
    } catch (const std::exception& e) {
        ShowStandardError(e);
    }
    return true;
}

void frmCLTPartsListMapping::UpdateSkipFirstXRows()
{
    State().MappingSkipFirstXLines = 0;
    std::string text = TrimBlanks(TextOf(m_ui->cmboSkipXLines->currentText()));
    if (auto number = ParseNumber(text)) {
        try {
            int32_t lines = RoundToLong(*number);
            if (lines >= 0)
                State().MappingSkipFirstXLines = lines;
        } catch (const std::exception&) {
            // Beyond a whole number: the setting stays 0.
        }
    }
}

std::string frmCLTPartsListMapping::GetPartsFileExtension(const std::string& fileTitle)
{
    std::string title = TrimBlanks(fileTitle);
    size_t dot = title.rfind('.');
    return dot == std::string::npos ? std::string() : title.substr(dot + 1);
}

void frmCLTPartsListMapping::cmdOpenFile_Click()
{
    if (NotValidSkipLinesValue())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open Delimited Parts File");
    request.filter = QString::fromStdString(PartsFileFilter(TextOf(m_ui->txtFileExtension->text())));
    request.proposedPath = RememberedPath(QStringLiteral("LastPath1"));
    std::optional<QString> chosen = RunFileDialog(request, this);
    if (chosen)
        OpenExampleFile(*chosen);
}

void frmCLTPartsListMapping::OpenExampleFile(const QString& path)
{
    const std::string file = path.toStdString();
    if (IsProgramFile(file)) {
        ShowMessage("The file selected is a file used by this software. You can not use this file.", vbOKOnly, "");
        return;
    }
    EnabledButtons(false);
    m_examplePath = path;
    m_ui->txtFileExtension->setText(QString::fromStdString(GetPartsFileExtension(FileNameOf(file))));
    bool isError = true;
    ParseTheCommaDelimitedPartsFile(file, isError);
    if (isError)
        return;
    LoadUserLabelGrid();
    EnabledButtons(true);
}

void frmCLTPartsListMapping::ParseTheCommaDelimitedPartsFile(const std::string& fileName, bool& IsError)
{
    IsError = true;
    Guarded([&] {
        int32_t skip = RoundToLong(ParseNumber(TrimBlanks(TextOf(m_ui->cmboSkipXLines->currentText()))).value_or(0));
        ExampleTable table;
        {
            WaitCursor hourglass;
            vx::ParseTheCommaDelimitedPartsFile(fileName, CurrentDelimiterSelected(), skip, table, IsError, m_progress,
                                                m_ui->chkQuotedFields->isChecked());
        }
        if (IsError)
            return;
        if (table.ColumnCount > kMaxExampleColumns) {
            IsError = true;
            ShowMessage("The example file splits into " + std::to_string(table.ColumnCount) +
                            " columns; the mapping screen shows at most " + std::to_string(kMaxExampleColumns) +
                            ". Check the field delimiter.",
                        vbOKOnly, "");
            return;
        }
        if (!m_mapping.LoadSavedMapping(table.ColumnCount)) {
            IsError = true;
            return;
        }
        m_example = std::move(table);
        m_chosenByHand.assign(static_cast<size_t>(m_example.ColumnCount), false);
        FillExampleGrid();
    });
}

void frmCLTPartsListMapping::FillExampleGrid()
{
    BoundGrid* grid = m_ui->fgMapping;
    grid->Unbind();
    const int columns = m_example.ColumnCount;
    std::vector<ColumnInfo> info{{"RowCaption", FieldType::Text, false}};
    std::string insert = "INSERT INTO mem VALUES (?";
    for (int c = 1; c <= columns; ++c) {
        info.push_back({"C" + std::to_string(c), FieldType::Text, false});
        insert += ",?";
    }
    insert += ")";
    m_exampleRS = RecordSet::InMemory(info);
    {
        Connection& conn = *m_exampleRS.connection();
        Transaction transaction(conn);
        Statement st = conn.Prepare(insert);
        st.BindText(1, kMappingRowCaption);
        for (int c = 1; c <= columns; ++c)
            st.BindText(c + 1, m_mapping.Cell(c));
        st.Run();
        m_progress.start("Showing the example file", m_example.RowCount());
        m_progress.notCancellable(); // the grid is filled whole: stopping would show half a file
        for (int r = 0; r < m_example.RowCount(); ++r) {
            st.Reset();
            st.BindText(1, "Row " + std::to_string(m_example.LineNumbers[static_cast<size_t>(r)]));
            const std::vector<std::string>& fields = m_example.Fields[static_cast<size_t>(r)];
            for (int c = 1; c <= columns; ++c)
                st.BindText(c + 1, fields[static_cast<size_t>(c - 1)]);
            st.Run();
            if (r % kRowsPerUpdate == 0)
                m_progress.update(r);
        }
        m_progress.end();
        transaction.commit();
    }
    m_exampleRS.Requery();
    grid->Bind(&m_exampleRS);
    grid->SetColHeading(1, QString());
    for (int c = 1; c <= columns; ++c)
        grid->SetColHeading(c + 1, QStringLiteral("Col. %1").arg(c));
    SizeGridColumns();
}

void frmCLTPartsListMapping::SyncMappingRow()
{
    if (!m_exampleRS.IsOpen() || m_exampleRS.RecordCount() < 1)
        return;
    Guarded([&] {
        for (int c = 1; c <= m_mapping.ColumnCount(); ++c)
            if (m_exampleRS.ValueAt(0, c).toText() != m_mapping.Cell(c))
                m_exampleRS.SetValueAt(0, c, m_mapping.Cell(c));
    });
    m_ui->fgMapping->viewport()->update();
}

void frmCLTPartsListMapping::SizeGridColumns() { m_ui->fgMapping->AutoSize(); }

void frmCLTPartsListMapping::LoadUserLabelGrid()
{
    BoundGrid* grid = m_ui->fgUserLabels;
    grid->Unbind();
    Guarded([&] {
        m_labelsRS = RecordSet::InMemory({{"IDNum", FieldType::Long, false},
                                          {"MainName", FieldType::Text, false},
                                          {"DisplayLabel", FieldType::Text, false}});
        std::vector<bool> hidden;
        {
            Connection& conn = *m_labelsRS.connection();
            Transaction transaction(conn);
            Statement st = conn.Prepare("INSERT INTO mem VALUES (?1, ?2, ?3)");
            RecordSet& rs = m_mapping.MappingRS();
            rs.SetFilter("");
            rs.SetSort("IDNum");
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
                int32_t id = rs.Value("IDNum").toLong();
                std::string mainName = rs.Value("MainName").toText();
                st.Reset();
                st.BindLong(1, id);
                st.BindText(2, mainName);
                st.BindText(3, m_mapping.DisplayLabel(id));
                st.Run();
                hidden.push_back(EqualsNoCase(TrimBlanks(mainName), "SCRIBES"));
            }
            rs.SetSort("");
            transaction.commit();
        }
        m_labelsRS.Requery();
        grid->Bind(&m_labelsRS);
        grid->SetColHeading(kLabelMainNameCol, QStringLiteral("DB Name"));
        grid->SetColHeading(kLabelDisplayCol, QStringLiteral("Display Label"));
        for (size_t r = 0; r < hidden.size(); ++r)
            grid->setRowHidden(static_cast<int>(r), hidden[r]);
        grid->SetColHidden(kLabelIDNumCol, true);
        grid->AutoSize();
        grid->SetColWidthTwips(kLabelDisplayCol, kDisplayLabelWidthTwips);
    });
    m_ui->fraUserLabels->show();
}

bool frmCLTPartsListMapping::RefuseLabelEdit(int row)
{
    if (row < 0 || row >= m_labelsRS.RecordCount())
        return true;
    std::string label = m_labelsRS.ValueAt(row, kLabelDisplayCol - 1).toText();
    return !m_mapping.CanEditDisplayLabel(label);
}

void frmCLTPartsListMapping::fgMapping_AfterEdit(int row, int col)
{
    if (row != 0 || col < 1)
        return;
    Guarded([&] { m_mapping.SelectColumn(col, m_exampleRS.ValueAt(0, col).toText()); });
    if (col <= static_cast<int>(m_chosenByHand.size()))
        m_chosenByHand[static_cast<size_t>(col - 1)] = m_mapping.Cell(col) != kNotUsed;
    SyncMappingRow();
    SizeGridColumns();
}

void frmCLTPartsListMapping::fgUserLabels_AfterEdit(int row, int col)
{
    if (col != kLabelDisplayCol - 1)
        return;
    Guarded([&] {
        int32_t id = m_labelsRS.ValueAt(row, kLabelIDNumCol - 1).toLong();
        std::string entered = m_labelsRS.ValueAt(row, col).toText();
        // The cell showed the field's display label when the edit started.
        std::string shown = m_mapping.EditDisplayLabel(id, m_mapping.DisplayLabel(id), entered);
        m_labelsRS.SetValueAt(row, col, shown);
    });
    m_ui->fgUserLabels->viewport()->update();
    SyncMappingRow();
    SizeGridColumns();
}

void frmCLTPartsListMapping::LoadADefaultMapping(const std::string& tableName)
{
    if (!vx::LoadADefaultMapping(m_mapping, tableName))
        return;
    LoadUserLabelGrid();
    SyncMappingRow();
    SizeGridColumns();
}

void frmCLTPartsListMapping::cmdLoadDefaultMapping_Click()
{
    if (!m_defaults)
        m_defaults = new frmCLTLoadDefaultMapping(this, m_mainMenu);
    m_defaults->Display();
}

void frmCLTPartsListMapping::cmdCheckMapping_Click()
{
    m_mapping.GetUserMappingFromGrid();
    bool isError = false;
    m_mapping.CheckForValidMapping(isError);
    if (!isError)
        ShowMessage("Your Mapping appears to be complete and valid.", vbOKOnly, "");
}

void frmCLTPartsListMapping::cmdReset_Click()
{
    int answer = ShowMessage(std::string("This will clear all column selections in the grid. It does not clear a "
                                         "saved mapping. To clear the Saved Mapping, you will need to do a Save "
                                         "Mapping after making the selections you want.") +
                                 kCrLf + kCrLf + "Are you sure you want to Clear All Selections?",
                             vbYesNo, "Confirm Mapping");
    if (answer != vbYes)
        return;
    for (int c = 1; c <= m_mapping.ColumnCount(); ++c)
        m_mapping.SetCell(c, kNotUsed);
    m_chosenByHand.assign(m_chosenByHand.size(), false);
    SyncMappingRow();
    SizeGridColumns();
}

void frmCLTPartsListMapping::cmdMatchHeaders_Click()
{
    int matched = 0;
    Guarded([&] {
        matched =
            MatchColumnsByHeader(m_mapping, m_example.HeaderFields, ReadKnownHeaderNames(*m_conn), m_chosenByHand);
    });
    SyncMappingRow();
    SizeGridColumns();
    ShowMessage(std::to_string(matched) + (matched == 1 ? " column was" : " columns were") +
                    " matched by the header names of row " + std::to_string(m_example.FirstLine - 1) + ".",
                vbOKOnly, "");
}

void frmCLTPartsListMapping::cmdSaveMapping_Click()
{
    std::vector<std::string> missing = m_mapping.RequiredLabelsWithoutColumn();
    if (!missing.empty()) {
        std::string fields;
        for (const std::string& label : missing)
            fields += (fields.empty() ? "" : ", ") + label;
        if (ShowMessage("The mapping is incomplete (no column for " + fields + "). Save anyway?",
                        vbYesNo | vbQuestion | vbDefaultButton2, "Save Mapping") != vbYes)
            return;
    }
    // A mapping that could not be stored keeps the screen open with the operator's work.
    if (m_mapping.SaveMapping())
        Shutdown();
}

void frmCLTPartsListMapping::cmdDone_Click() { Shutdown(); }

void frmCLTPartsListMapping::QueryUnloadByControlMenu() { Shutdown(); }

void frmCLTPartsListMapping::ReleaseTables()
{
    m_ui->fgMapping->Unbind();
    m_ui->fgUserLabels->Unbind();
    m_exampleRS.Close();
    m_labelsRS.Close();
    m_mapping.Release();
    m_conn.reset();
}

void frmCLTPartsListMapping::Shutdown()
{
    if (m_released)
        return;
    m_released = true;
    if (m_defaults)
        m_defaults->close();
    UpdateSkipFirstXRows();
    SaveProcessingSettings();
    SaveDelimiterSelection();
    State().QuotedFields = m_ui->chkQuotedFields->isChecked();
    State().LengthsWithUnits = m_ui->chkLengthsWithUnits->isChecked();
    State().FeetAndInches = m_ui->chkFeetAndInches->isChecked();
    State().SortDimensions = m_ui->chkSortDimensions->isChecked();
    State().DimensionsOrder = m_ui->cmboDimensionsOrder->currentData().toString().toStdString();
    SaveReadingOptions();
    ReleaseTables();
    State().FileExtension = UpperCase(TrimBlanks(TextOf(m_ui->txtFileExtension->text())));
    SaveFileExtension();
    if (m_mainMenu)
        m_mainMenu->show();
    Unload();
}

} // namespace vx
