#include "ui/BoundGridModel.h"

#include "base/Messages.h"
#include "base/VxError.h"

namespace vx {

ComboList ComboList::Parse(const QString& list)
{
    ComboList combo;
    if (list.isEmpty())
        return combo;
    const QStringList entries = list.split(u'|');
    combo.keyed = list.startsWith(u'#');
    for (const QString& entry : entries) {
        if (combo.keyed && entry.startsWith(u'#')) {
            int semi = entry.indexOf(u';');
            QString id = entry.mid(1, semi < 0 ? -1 : semi - 1).trimmed();
            QString text = semi < 0 ? id : entry.mid(semi + 1);
            bool ok = false;
            qlonglong number = id.toLongLong(&ok);
            combo.items.push_back({ok ? QVariant(number) : QVariant(id), text});
        } else {
            combo.items.push_back({entry, entry});
        }
    }
    return combo;
}

QString ComboList::ShownFor(const Variant& value) const
{
    QString own = QString::fromStdString(value.toText());
    if (!keyed || value.isNull())
        return own;
    for (const Item& item : items) {
        if (item.stored.typeId() == QMetaType::LongLong) {
            if ((value.isLong() || value.isDouble()) && value.toDouble() == item.stored.toDouble())
                return item.shown;
            if (value.isText() && own.trimmed() == item.stored.toString())
                return item.shown;
        } else if (item.stored.toString().compare(own, Qt::CaseInsensitive) == 0) {
            return item.shown;
        }
    }
    return own;
}

BoundGridModel::BoundGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void BoundGridModel::Bind(RecordSet* rs)
{
    beginResetModel();
    m_rs = rs && rs->IsOpen() ? rs : nullptr;
    m_rows = m_rs ? m_rs->RecordCount() : 0;
    m_columns = m_rs ? static_cast<int>(m_rs->Columns().size()) : 0;
    if (!m_rs) {
        m_headings.clear();
        m_combos.clear();
    }
    endResetModel();
}

void BoundGridModel::Refresh()
{
    beginResetModel();
    if (m_rs && !m_rs->IsOpen())
        m_rs = nullptr;
    m_rows = m_rs ? m_rs->RecordCount() : 0;
    m_columns = m_rs ? static_cast<int>(m_rs->Columns().size()) : 0;
    endResetModel();
}

void BoundGridModel::SetHeading(int column, const QString& text)
{
    m_headings[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString BoundGridModel::Heading(int column) const
{
    auto it = m_headings.find(column);
    if (it != m_headings.end())
        return *it;
    if (m_rs && column >= 0 && column < m_columns)
        return QString::fromStdString(m_rs->Columns()[static_cast<size_t>(column)].name);
    return {};
}

void BoundGridModel::SetComboList(int column, const QString& list)
{
    if (list.isEmpty())
        m_combos.remove(column);
    else
        m_combos[column] = ComboList::Parse(list);
    if (m_rows > 0 && column < m_columns)
        emit dataChanged(index(0, column), index(m_rows - 1, column), {Qt::DisplayRole});
}

const ComboList* BoundGridModel::ComboListOf(int column) const
{
    auto it = m_combos.find(column);
    return it == m_combos.end() ? nullptr : &*it;
}

bool BoundGridModel::IsBoolean(int column) const
{
    return m_rs && m_rs->Columns()[static_cast<size_t>(column)].type == FieldType::Boolean;
}

int BoundGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }
int BoundGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QString BoundGridModel::CellText(int row, int column) const
{
    if (!m_rs || row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    Variant v = m_rs->ValueAt(row, column);
    if (const ComboList* combo = ComboListOf(column))
        return combo->ShownFor(v);
    return QString::fromStdString(v.toText());
}

QVariant BoundGridModel::data(const QModelIndex& index, int role) const
{
    if (!m_rs || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    try {
        switch (role) {
        case Qt::DisplayRole:
            if (IsBoolean(index.column()))
                return {};
            return CellText(index.row(), index.column());
        case Qt::EditRole:
            if (IsBoolean(index.column()))
                return m_rs->ValueAt(index.row(), index.column()).toBool();
            return QString::fromStdString(m_rs->ValueAt(index.row(), index.column()).toText());
        case Qt::CheckStateRole:
            if (!IsBoolean(index.column()))
                return {};
            return m_rs->ValueAt(index.row(), index.column()).toBool() ? Qt::Checked : Qt::Unchecked;
        default: return {};
        }
    } catch (const std::exception&) {
        // A row deleted behind the grid reads as empty until the next refresh.
        return {};
    }
}

bool BoundGridModel::MayEdit(int row, int column) const
{
    if (!m_editable || !m_rs || m_rs->Columns()[static_cast<size_t>(column)].primaryKey)
        return false;
    return !beforeEdit || beforeEdit(row, column);
}

Qt::ItemFlags BoundGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsBoolean(index.column()))
        f |= Qt::ItemIsUserCheckable;
    else if (MayEdit(index.row(), index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool BoundGridModel::WriteCell(const QModelIndex& index, const Variant& value)
{
    // Nothing may use the connection while it waits for a lock (the wait dialog lets events
    // through, and an editor may commit again).
    if (m_rs->connection() && m_rs->connection()->WaitingForLock())
        return false;
    if (checkEdit && !checkEdit(index.row(), index.column(), value))
        return false;
    try {
        m_rs->SetValueAt(index.row(), index.column(), value);
    } catch (const std::exception& e) {
        ShowMessage(StandardErrorText(e), vbOKOnly, "");
        return false;
    }
    emit dataChanged(index, index);
    if (afterEdit)
        afterEdit(index.row(), index.column());
    return true;
}

bool BoundGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_rs || !index.isValid() || index.row() >= m_rows)
        return false;
    if (role == Qt::CheckStateRole && IsBoolean(index.column())) {
        if (!MayEdit(index.row(), index.column()))
            return false;
        bool checked = value.toInt() == Qt::Checked;
        return WriteCell(index, Variant(checked));
    }
    if (role != Qt::EditRole || IsBoolean(index.column()) || !MayEdit(index.row(), index.column()))
        return false;
    Variant v;
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        v = Variant(static_cast<int64_t>(value.toLongLong()));
    else if (!value.isNull())
        v = Variant(value.toString().toStdString());
    return WriteCell(index, v);
}

QVariant BoundGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return Heading(section);
    // The fixed column is a plain row selector, as on the classic grids.
    return QString();
}

} // namespace vx
