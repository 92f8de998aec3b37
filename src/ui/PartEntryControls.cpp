#include "ui/PartEntryControls.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "parts/PartEntry.h"
#include "parts/cCLTPart.h"
#include "ui/BoundGrid.h"
#include "ui/ScreenTools.h"
#include "ui_PartEntryControls.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace vx {

namespace {
constexpr int kLabelCol = 1; // grid columns of the user-field grid
constexpr int kValueCol = 2;
constexpr int kValueMinTwips = 2000;

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }
std::string Text(const QComboBox* box) { return box->currentText().toStdString(); }
std::string Trimmed(const std::string& s) { return TrimBlanks(s); }
std::string Caption(const QLabel* label) { return label->text().toStdString(); }
void SetCaption(QLabel* label, const std::string& text) { label->setText(QString::fromStdString(text)); }
void Show(QWidget* w, bool shown) { w->setHidden(!shown); }
} // namespace

PartEntryControls::PartEntryControls(QWidget* parent) : QWidget(parent), m_ui(new Ui::PartEntryControls)
{
    m_ui->setupUi(this);
    for (QLineEdit* box : {m_ui->txtLength, m_ui->txtQuantity, m_ui->txtScribes, m_ui->txtSpaceBalls,
                           m_ui->txtThickness, m_ui->txtWidth})
        box->installEventFilter(this);
    for (QWidget* box : EntryBoxes()) {
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            connect(edit, &QLineEdit::returnPressed, this, [this, box] { OnReturnPressed(box); });
        else // the combo's own line edit signals Enter twice (the combo passes the key back to it)
            box->installEventFilter(this);
    }
    BoundGrid* grid = m_ui->fgUserFieldEntries;
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->SetEditable(true);
    grid->gridModel()->beforeEdit = [](int, int column) { return column == kValueCol - 1; };
    m_gridMaxHeight = grid->verticalHeader()->defaultSectionSize() * 10;
}

PartEntryControls::~PartEntryControls() { m_ui->fgUserFieldEntries->Unbind(); }

BoundGrid* PartEntryControls::userFieldGrid() const { return m_ui->fgUserFieldEntries; }
QComboBox* PartEntryControls::partCombo() const { return m_ui->cmboPart; }
QComboBox* PartEntryControls::materialCombo() const { return m_ui->cmboMaterial; }

void PartEntryControls::SetMode(Mode mode)
{
    m_mode = mode;
    const bool manual = mode == Mode::ManualEntry;
    m_ui->Label2_6->setText(manual ? QStringLiteral("Spaceballs") : QStringLiteral("SPACE BALLS"));
    m_ui->chkB_Grade->setText(manual ? QStringLiteral("B GRADE") : QStringLiteral("B_GRADE"));
    Show(m_ui->Label4_0, manual && !m_ui->txtScribes->isHidden());
    Show(m_ui->Label4_1, manual && !m_ui->txtSpaceBalls->isHidden());
}

std::vector<QWidget*> PartEntryControls::EntryBoxes() const
{
    return {m_ui->txtSeqNum,    m_ui->txtQuantity, m_ui->txtThickness, m_ui->txtWidth,     m_ui->txtLength,
            m_ui->cmboMaterial, m_ui->cmboPart,    m_ui->txtScribes,   m_ui->txtSpaceBalls};
}

void PartEntryControls::LoadCombo(QComboBox* combo, RecordSet& rs, const char* column)
{
    combo->clear();
    rs.SetFilter("");
    QStringList names;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        names << QString::fromStdString(rs.Value(column).toText());
    combo->addItems(names);
    combo->setCurrentIndex(names.isEmpty() ? -1 : 0);
}

void PartEntryControls::LoadPartCombo(RecordSet& criteria) { LoadCombo(m_ui->cmboPart, criteria, "Part"); }
void PartEntryControls::LoadMaterialCombo(RecordSet& materials)
{
    LoadCombo(m_ui->cmboMaterial, materials, "Material");
}

void PartEntryControls::SetPartLabels(const MappingFields& mapping)
{
    struct Field {
        const char* name;
        QLabel* label;
        QWidget* box;
        const char* hiddenValue; // what a hidden box holds so that it passes the check
    };
    m_ui->txtSeqNum->setText(QStringLiteral("1"));
    m_ui->txtQuantity->setText(QStringLiteral("1"));
    const Field fields[] = {{"SEQ_NUM", m_ui->lblSeqNum, m_ui->txtSeqNum, nullptr},
                            {"QUANTITY", m_ui->Label1, m_ui->txtQuantity, nullptr},
                            {"THICKNESS", m_ui->Label2_0, m_ui->txtThickness, "0"},
                            {"WIDTH", m_ui->Label2_1, m_ui->txtWidth, "1"},
                            {"LENGTH", m_ui->Label2_2, m_ui->txtLength, nullptr},
                            {"PART", m_ui->Label2_4, m_ui->cmboPart, nullptr},
                            {"MATERIAL", m_ui->Label2_3, m_ui->cmboMaterial, nullptr}};
    for (const Field& f : fields) {
        if (mapping.Find(f.name))
            SetCaption(f.label, mapping.LabelOf(f.name));
        // Length is always typed.
        const bool shown = mapping.InUse(f.name) || f.box == m_ui->txtLength;
        Show(f.label, shown);
        Show(f.box, shown);
        if (!shown && f.hiddenValue)
            qobject_cast<QLineEdit*>(f.box)->setText(QString::fromLatin1(f.hiddenValue));
    }
}

void PartEntryControls::SetUpForCriteria(const MappingFields& mapping)
{
    const ProgramState& s = State();
    if (!s.BGradeEnabled)
        Show(m_ui->chkB_Grade, false);
    if (s.Scribes)
        SetCaption(m_ui->Label2_5, mapping.LabelOf("SCRIBES"));
    else
        ShowScribeEntry(false);
    if (!s.SpaceBalls)
        ShowSpaceBallEntry(false);
    if (!s.PocketHoles)
        Show(m_ui->chkPocketHoles, false);
    if (!s.PanelEnabled)
        Show(m_ui->chkPanel, false);

    m_thicknessTyped = mapping.InUse("THICKNESS");
    if (m_thicknessTyped)
        SetCaption(m_ui->Label2_0, mapping.LabelOf("THICKNESS"));
    else
        m_ui->txtThickness->setText(QStringLiteral("0"));
    Show(m_ui->Label2_0, m_thicknessTyped);
    Show(m_ui->txtThickness, m_thicknessTyped);

    SetCaption(m_ui->lblSeqNum, mapping.LabelOf("SEQ_NUM"));
    const bool seq = mapping.InUse("SEQ_NUM");
    Show(m_ui->lblSeqNum, seq);
    Show(m_ui->txtSeqNum, seq);
    if (!seq)
        m_ui->txtSeqNum->setText(QStringLiteral("1"));

    SetCaption(m_ui->Label1, mapping.LabelOf("QUANTITY"));
    SetCaption(m_ui->Label2_4, mapping.LabelOf("PART"));
    SetCaption(m_ui->Label2_3, mapping.LabelOf("MATERIAL"));
    SetCaption(m_ui->Label2_1, mapping.LabelOf("WIDTH"));
    SetCaption(m_ui->Label2_2, mapping.LabelOf("LENGTH"));
}

void PartEntryControls::ShowScribeEntry(bool shown)
{
    if (!shown)
        m_ui->txtScribes->clear();
    Show(m_ui->Label2_5, shown);
    Show(m_ui->txtScribes, shown);
    Show(m_ui->Label4_0, shown && m_mode == Mode::ManualEntry);
}

void PartEntryControls::ShowSpaceBallEntry(bool shown)
{
    if (!shown)
        m_ui->txtSpaceBalls->clear();
    Show(m_ui->Label2_6, shown);
    Show(m_ui->txtSpaceBalls, shown);
    Show(m_ui->Label4_1, shown && m_mode == Mode::ManualEntry);
}

namespace {
void ShowFlag(QCheckBox* box, bool shown)
{
    if (!shown)
        box->setChecked(false);
    Show(box, shown);
}
} // namespace

void PartEntryControls::ShowPocketHoles(bool shown) { ShowFlag(m_ui->chkPocketHoles, shown); }
void PartEntryControls::ShowPanel(bool shown) { ShowFlag(m_ui->chkPanel, shown); }
void PartEntryControls::ShowBGrade(bool shown) { ShowFlag(m_ui->chkB_Grade, shown); }

void PartEntryControls::EnableOptions()
{
    const ProgramState& s = State();
    if (!s.Scribes)
        ShowScribeEntry(false);
    if (!s.SpaceBalls)
        ShowSpaceBallEntry(false);
    if (!s.PocketHoles)
        ShowPocketHoles(false);
    if (!s.PanelEnabled)
        ShowPanel(false);
    if (!s.BGradeEnabled)
        ShowBGrade(false);
}

void PartEntryControls::InitializeUserFieldGrid(const MappingFields& mapping)
{
    BoundGrid* grid = m_ui->fgUserFieldEntries;
    grid->Unbind();
    Guarded([&] {
        m_userFieldsRS =
            RecordSet::InMemory({{"Display Label", FieldType::Text, false}, {"Value", FieldType::Text, false}});
        Connection& c = *m_userFieldsRS.connection();
        Transaction tx(c);
        Statement st = c.Prepare("INSERT INTO mem VALUES (?1, '')");
        for (int i = 1; i <= State().UserFieldCount; ++i) {
            st.Reset();
            st.BindText(1, mapping.LabelOf("UF_" + std::to_string(i)));
            st.Run();
        }
        tx.commit();
        m_userFieldsRS.Requery();
        grid->Bind(&m_userFieldsRS);
        grid->SetColHeading(kLabelCol, QStringLiteral("Display Label"));
        grid->SetColHeading(kValueCol, QString());
    });
}

void PartEntryControls::SetUserFieldsToShow(const MappingFields& mapping)
{
    BoundGrid* grid = m_ui->fgUserFieldEntries;
    if (!m_userFieldsRS.IsOpen())
        return;
    Guarded([&] {
        for (int i = 1; i <= State().UserFieldCount && i <= m_userFieldsRS.RecordCount(); ++i) {
            const std::string name = "UF_" + std::to_string(i);
            m_userFieldsRS.SetValueAt(i - 1, kLabelCol - 1, mapping.LabelOf(name));
            if (!mapping.InUse(name))
                m_userFieldsRS.SetValueAt(i - 1, kValueCol - 1, std::string());
        }
    });
    grid->Refresh(); // a model reset shows every row again
    for (int i = 1; i <= State().UserFieldCount && i <= m_userFieldsRS.RecordCount(); ++i)
        grid->setRowHidden(i - 1, !mapping.InUse("UF_" + std::to_string(i)));
    FitUserFieldGrid();
}

void PartEntryControls::FitUserFieldGrid()
{
    BoundGrid* grid = m_ui->fgUserFieldEntries;
    grid->AutoSize();
    if (grid->ColWidthTwips(kValueCol) < kValueMinTwips)
        grid->SetColWidthTwips(kValueCol, kValueMinTwips);
    int rows = 0;
    for (int r = 0; r < grid->gridModel()->rowCount(); ++r)
        rows += grid->isRowHidden(r) ? 0 : grid->rowHeight(r);
    const int frame = 2 * grid->frameWidth();
    const int height = grid->horizontalHeader()->sizeHint().height() + rows + frame;
    const int width = grid->columnWidth(kLabelCol - 1) + grid->columnWidth(kValueCol - 1) + frame;
    grid->setMinimumWidth(width + grid->verticalScrollBar()->sizeHint().width());
    grid->setFixedHeight(std::min(height, std::max(m_gridMaxHeight, grid->horizontalHeader()->sizeHint().height())));
}

void PartEntryControls::CheckData(bool& IsError)
{
    IsError = true;
    const ProgramState& s = State();
    const bool manual = m_mode == Mode::ManualEntry;
    PartEntryRules rules;
    rules.seqName = Caption(m_ui->lblSeqNum);
    rules.quantityName = manual ? Caption(m_ui->Label1) : "QUANTITY";
    rules.thicknessName = manual ? Caption(m_ui->Label2_0) : "THICKNESS";
    rules.widthName = manual ? Caption(m_ui->Label2_1) : "WIDTH";
    rules.lengthName = manual ? Caption(m_ui->Label2_2) : "LENGTH";
    rules.emptyThicknessIsZero = manual;
    rules.thicknessTyped = manual || m_thicknessTyped;
    if (!manual) {
        rules.partRefusal = "Please select or enter a part.";
        rules.materialRefusal = "Please select or enter a Material.";
    } else {
        if (PartShown())
            rules.partRefusal = "Please select or enter a " + Caption(m_ui->Label2_4);
        if (MaterialShown())
            rules.materialRefusal = "Please select or enter a " + Caption(m_ui->Label2_3);
    }
    rules.scribes = s.Scribes;
    rules.spaceBalls = s.SpaceBalls;

    PartEntryTexts t{Text(m_ui->txtSeqNum),    Text(m_ui->txtQuantity), Text(m_ui->txtThickness),
                     Text(m_ui->txtWidth),     Text(m_ui->txtLength),   Text(m_ui->cmboPart),
                     Text(m_ui->cmboMaterial), Text(m_ui->txtScribes),  Text(m_ui->txtSpaceBalls)};
    PartEntryNumbers numbers;
    std::string message;
    bool passed = false;
    try {
        passed = CheckPartEntry(t, rules, numbers, message);
    } catch (const std::exception& e) {
        ShowStandardError(e);
        return;
    }
    // The boxes show what the check made of them, passed or not.
    auto put = [](QLineEdit* box, const std::string& text) {
        if (Text(box) != text)
            box->setText(QString::fromStdString(text));
    };
    put(m_ui->txtSeqNum, t.seqNum);
    put(m_ui->txtQuantity, t.quantity);
    put(m_ui->txtThickness, t.thickness);
    put(m_ui->txtScribes, t.scribes);
    put(m_ui->txtSpaceBalls, t.spaceBalls);
    if (!passed) {
        ShowMessage(message, vbOKOnly, "");
        return;
    }
    if (!s.PocketHoles)
        m_ui->chkPocketHoles->setChecked(false);
    if (!s.PanelEnabled)
        m_ui->chkPanel->setChecked(false);
    if (!s.BGradeEnabled)
        m_ui->chkB_Grade->setChecked(false);
    IsError = false;
}

bool PartEntryControls::PartShown() const { return !m_ui->cmboPart->isHidden(); }
bool PartEntryControls::MaterialShown() const { return !m_ui->cmboMaterial->isHidden(); }

bool PartEntryControls::SeqNumShown() const { return !m_ui->txtSeqNum->isHidden(); }

int32_t PartEntryControls::SeqNumber() const { return ToLong(Trimmed(Text(m_ui->txtSeqNum))); }

void PartEntryControls::FillPart(cCLTPart& part) const
{
    const bool manual = m_mode == Mode::ManualEntry;
    if (!manual)
        part.SetSeq_Num(SeqNumber());
    part.SetQuantity(ToLong(Trimmed(Text(m_ui->txtQuantity))));
    part.SetThickness(ToDouble(Trimmed(Text(m_ui->txtThickness))));
    part.SetWidth(ToDouble(Trimmed(Text(m_ui->txtWidth))));
    part.SetLength(ToDouble(Trimmed(Text(m_ui->txtLength))));
    part.SetPart(!manual || PartShown() ? Trimmed(Text(m_ui->cmboPart)) : "NONE");
    part.SetMaterial(!manual || MaterialShown() ? Trimmed(Text(m_ui->cmboMaterial)) : "NONE");
    part.SetScribes(Trimmed(Text(m_ui->txtScribes)));
    part.SetSpaceBalls(Trimmed(Text(m_ui->txtSpaceBalls)));
    part.SetPocketHoles(m_ui->chkPocketHoles->isChecked());
    part.SetPanel(m_ui->chkPanel->isChecked());
    part.SetB_Grade(m_ui->chkB_Grade->isChecked());
    const BoundGrid* grid = m_ui->fgUserFieldEntries;
    for (int i = 1; i <= State().UserFieldCount && i <= m_userFieldsRS.RecordCount(); ++i)
        if (!grid->isRowHidden(i - 1))
            part.SetUserField(i, Trimmed(m_userFieldsRS.ValueAt(i - 1, kValueCol - 1).toText()));
}

void PartEntryControls::MatchCombo(QComboBox* combo)
{
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.push_back(combo->itemText(i).toStdString());
    const std::string typed = Text(combo);
    int found = MatchingListEntry(entries, typed);
    if (found < 0) {
        combo->addItem(QString::fromStdString(Trimmed(typed)));
        found = combo->count() - 1;
    }
    combo->setCurrentIndex(found);
    combo->setEditText(combo->itemText(found));
}

void PartEntryControls::CheckForCmboNewPart() { MatchCombo(m_ui->cmboPart); }
void PartEntryControls::CheckForCmboNewMaterial() { MatchCombo(m_ui->cmboMaterial); }

void PartEntryControls::SetEntryEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_ui->txtQuantity, m_ui->txtLength, m_ui->txtScribes,
                                                      m_ui->txtSpaceBalls, m_ui->txtThickness, m_ui->txtWidth,
                                                      m_ui->chkB_Grade, m_ui->chkPanel, m_ui->chkPocketHoles,
                                                      m_ui->cmboMaterial, m_ui->cmboPart, m_ui->fgUserFieldEntries})
        w->setEnabled(enabled);
}

void PartEntryControls::FocusFirstEntryBox()
{
    for (QWidget* box : EntryBoxes()) {
        if (box->isHidden() || !box->isEnabled())
            continue;
        box->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->selectAll();
        else
            qobject_cast<QComboBox*>(box)->lineEdit()->selectAll();
        return;
    }
}

void PartEntryControls::OnReturnPressed(QWidget* box)
{
    QWidget* last = nullptr;
    for (QWidget* b : EntryBoxes())
        if (!b->isHidden())
            last = b;
    if (box == last)
        emit addRequested();
}

bool PartEntryControls::eventFilter(QObject* watched, QEvent* event)
{
    // Typing replaces the whole value; the selection is made after the click has placed
    // the cursor, or it would be undone at once.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            OnReturnPressed(static_cast<QWidget*>(watched));
    }
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    return QWidget::eventFilter(watched, event);
}

} // namespace vx
