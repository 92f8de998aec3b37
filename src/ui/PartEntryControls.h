#pragma once
// The entry controls of one part typed by hand, shared by the manual parts entry screen and
// the add-parts dialog: the boxes with their labels, the part and material combos, the three
// flags and the user-field grid. The screens decide where a checked part goes; this piece
// decides which boxes are offered, checks them and fills the part record.
#include "config/TableStore.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLineEdit;
class QComboBox;
class QLabel;

namespace Ui {
class PartEntryControls;
}

namespace vx {

class BoundGrid;
class MappingFields;
class cCLTPart;

class PartEntryControls : public QWidget {
    Q_OBJECT
public:
    // ManualEntry: fields follow ManualField, messages name the labels, part and material may be
    // "NONE". AddParts: part and material always asked for, fixed names in the messages.
    enum class Mode { ManualEntry, AddParts };

    explicit PartEntryControls(QWidget* parent = nullptr);
    ~PartEntryControls() override;

    void SetMode(Mode mode);
    Mode mode() const { return m_mode; }

    // The combo lists from the Part column of tblPartsCriteria / the Material column of
    // tblMaterials, in the record set's order; the first entry selected.
    void LoadPartCombo(RecordSet& criteria);
    void LoadMaterialCombo(RecordSet& materials);

    // Labels and shown boxes from the mapping: the manual entry screen's rule (sequence,
    // quantity, thickness, width, part and material follow ManualField; "1" back into the
    // sequence and quantity boxes) and the add-parts dialog's rule (sequence and thickness
    // follow it; the scribes label shows the SCRIBES display label).
    void SetPartLabels(const MappingFields& mapping);
    void SetUpForCriteria(const MappingFields& mapping);
    // Hides (never shows) what the accessories settings leave out.
    void EnableOptions();
    // Shows or hides one accessory's entry; hiding empties or unticks it.
    void ShowScribeEntry(bool shown);
    void ShowSpaceBallEntry(bool shown);
    void ShowPocketHoles(bool shown);
    void ShowPanel(bool shown);
    void ShowBGrade(bool shown);

    // The user-field grid: one row per user field with its display label; rows of fields not
    // in use hidden and emptied; the grid sized to its visible rows.
    void InitializeUserFieldGrid(const MappingFields& mapping);
    void SetUserFieldsToShow(const MappingFields& mapping);
    // The largest height SetUserFieldsToShow may give the grid (pixels).
    void SetUserFieldGridMaximumHeight(int pixels) { m_gridMaxHeight = pixels; }

    // Checks the entry; each refusal is shown and leaves IsError true.
    void CheckData(bool& IsError);
    // The checked entry as a part record (Seq_Num only in AddParts mode; FileName never).
    void FillPart(cCLTPart& part) const;
    // The whole number of the sequence box (checked by CheckData).
    int32_t SeqNumber() const;
    bool SeqNumShown() const;
    bool PartShown() const;
    bool MaterialShown() const;

    // Selects the list entry that matches the typed text (case and blanks aside), else adds
    // the trimmed text to the list and selects it.
    void CheckForCmboNewPart();
    void CheckForCmboNewMaterial();

    // Every control but the sequence box in or out of use (the field panel disables them).
    void SetEntryEnabled(bool enabled);
    // Focus (whole text selected) on the first shown entry box.
    void FocusFirstEntryBox();

    BoundGrid* userFieldGrid() const;
    QComboBox* partCombo() const;
    QComboBox* materialCombo() const;

signals:
    // Enter in the last shown entry box.
    void addRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> EntryBoxes() const;
    void OnReturnPressed(QWidget* box);
    static void LoadCombo(QComboBox* combo, RecordSet& rs, const char* column);
    static void MatchCombo(QComboBox* combo);
    void FitUserFieldGrid();

    std::unique_ptr<Ui::PartEntryControls> m_ui;
    Mode m_mode = Mode::ManualEntry;
    bool m_thicknessTyped = true; // AddParts: thickness typed by the operator
    RecordSet m_userFieldsRS;
    int m_gridMaxHeight = 0;
};

} // namespace vx
