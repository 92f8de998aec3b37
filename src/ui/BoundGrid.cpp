#include "ui/BoundGrid.h"

#include <QComboBox>
#include <QHeaderView>

#include <algorithm>

namespace vx {

QWidget* BoundGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    if (m_model->startEdit)
        m_model->startEdit(index.row(), index.column());
    const ComboList* combo = m_model->ComboListOf(index.column());
    if (!combo)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    for (const ComboList::Item& item : combo->items)
        box->addItem(item.shown, item.stored);
    return box;
}

void BoundGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    box->setCurrentIndex(box->findText(m_model->CellText(index.row(), index.column())));
}

void BoundGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (box->currentIndex() >= 0)
        model->setData(index, box->currentData(), Qt::EditRole);
}

BoundGrid::BoundGrid(QWidget* parent) : QTableView(parent), m_model(new BoundGridModel(this))
{
    setModel(m_model);
    setItemDelegate(new BoundGridDelegate(m_model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Uniform row heights keep a million rows cheap: nothing is measured per row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(16);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setResizeContentsPrecision(200);
}

void BoundGrid::Bind(RecordSet* rs)
{
    m_model->Bind(rs);
    for (int c = 0; c < m_model->columnCount(); ++c)
        setColumnHidden(c, false);
}

void BoundGrid::Unbind() { m_model->Unbind(); }

void BoundGrid::Refresh() { m_model->Refresh(); }

QString BoundGrid::TextMatrix(int row, int col) const
{
    if (col < 1)
        return {};
    if (row == 0)
        return m_model->Heading(col - 1);
    return m_model->CellText(row - 1, col - 1);
}

void BoundGrid::SetColHidden(int col, bool hidden)
{
    if (col >= 1)
        setColumnHidden(col - 1, hidden);
}

bool BoundGrid::ColHidden(int col) const { return col < 1 || isColumnHidden(col - 1); }

void BoundGrid::SetColHeading(int col, const QString& text)
{
    if (col >= 1)
        m_model->SetHeading(col - 1, text);
}

void BoundGrid::SetColComboList(int col, const QString& list)
{
    if (col >= 1)
        m_model->SetComboList(col - 1, list);
}

void BoundGrid::SetColWidthTwips(int col, int twips)
{
    if (col >= 1)
        setColumnWidth(col - 1, TwipsToPixels(twips, logicalDpiX()));
}

int BoundGrid::ColWidthTwips(int col) const
{
    return col >= 1 ? PixelsToTwips(columnWidth(col - 1), logicalDpiX()) : 0;
}

void BoundGrid::AutoSize()
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (!isColumnHidden(c))
            resizeColumnToContents(c);
}

void BoundGrid::SetEditable(bool editable)
{
    m_model->SetEditable(editable);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                             : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
}

QList<int> BoundGrid::SelectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& idx : selectionModel()->selectedIndexes())
        rows.push_back(idx.row() + 1);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void BoundGrid::SelectRow(int row, bool add)
{
    if (row < 1 || row > m_model->rowCount())
        return;
    auto flags = QItemSelectionModel::Rows | (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect);
    selectionModel()->select(m_model->index(row - 1, 0), flags);
}

} // namespace vx
