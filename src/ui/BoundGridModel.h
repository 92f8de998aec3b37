#pragma once
// The one grid model of the program: a virtual table over a record set.
//
// Model rows and columns are the record set's rows and columns (0-based); the screens
// count grid rows and columns from 1 because row 0 and column 0 are the fixed header row
// and column, which the view shows as its headers. Nothing is created per row: every
// cell is read from the record set on demand (the set caches the rows it fetched), so a
// million rows cost no more than a hundred. Edits are written straight through to the table.
#include "config/TableStore.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QVector>

#include <functional>

namespace vx {

// A drop-down list of a column: "#id;text|#id;text" shows the text and stores the number,
// "a|b|c" offers the texts themselves.
struct ComboList {
    struct Item {
        QVariant stored;
        QString shown;
    };
    QVector<Item> items;
    bool keyed = false;

    static ComboList Parse(const QString& list);
    // The shown text for a stored value (the value's own text when it is not in the list).
    QString ShownFor(const Variant& value) const;
    bool isEmpty() const { return items.isEmpty(); }
};

class BoundGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BoundGridModel(QObject* parent = nullptr);

    // Binds the model to a record set that outlives the binding; nullptr unbinds.
    void Bind(RecordSet* rs);
    void Unbind() { Bind(nullptr); }
    RecordSet* recordSet() const { return m_rs; }
    // Re-reads row and column counts after the record set was requeried, filtered or changed.
    void Refresh();

    // Headings, drop-down lists and editing, by model column.
    void SetHeading(int column, const QString& text);
    QString Heading(int column) const;
    void SetComboList(int column, const QString& list);
    const ComboList* ComboListOf(int column) const;
    // Grid-wide permission to edit; key columns of the table are never edited.
    void SetEditable(bool editable) { m_editable = editable; }
    bool editable() const { return m_editable; }

    // Edit hooks, by model row and column. beforeEdit refuses an edit by returning false
    // (asked whenever the grid decides whether a cell may be edited); startEdit runs when
    // an editor opens; checkEdit may refuse a value before it is written (it tells the
    // operator why; the cell keeps its old value); afterEdit runs after a value was written.
    std::function<bool(int row, int column)> beforeEdit;
    std::function<void(int row, int column)> startEdit;
    std::function<bool(int row, int column, const Variant& value)> checkEdit;
    std::function<void(int row, int column)> afterEdit;

    // The cell text as the operator sees it (drop-down texts, booleans as 0/1 numbers).
    QString CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool IsBoolean(int column) const;
    bool MayEdit(int row, int column) const;
    bool WriteCell(const QModelIndex& index, const Variant& value);

    RecordSet* m_rs = nullptr;
    int m_rows = 0;
    int m_columns = 0;
    bool m_editable = false;
    QHash<int, QString> m_headings;
    QHash<int, ComboList> m_combos;
};

} // namespace vx
