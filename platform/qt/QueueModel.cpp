#include "platform/qt/QueueModel.h"

#include <algorithm>
#include <stdexcept>

namespace pendrel::qt {

QueueModel::QueueModel(QObject* parent) : QAbstractItemModel(parent) {}

void QueueModel::AppendColumn(const QString& title) {
    const int column = ColumnCount();
    beginInsertColumns({}, column, column);
    headers_.append(title);
    endInsertColumns();
}

int QueueModel::AppendRow(const Text& text) {
    const int row = RowCount();
    beginInsertRows({}, row, row);
    rows_.push_back(Row{nextId_++, text, {}});
    endInsertRows();
    if (row == 0) emit becameNonEmpty();
    return row;
}

void QueueModel::SetRowStatus(int row, const Text& status) {
    rows_.at(static_cast<std::size_t>(row)).status = status;
    const QModelIndex cell = index(row, 1);
    if (cell.isValid()) emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void QueueModel::RemoveRow(int row) {
    if (row < 0 || row >= RowCount()) throw std::out_of_range("QueueModel::RemoveRow");
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

std::optional<int> QueueModel::RowOfId(ItemId id) const {
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), id,
                                     [](const Row& row, ItemId value) { return row.id < value; });
    if (it == rows_.end() || it->id != id) return std::nullopt;
    return static_cast<int>(it - rows_.begin());
}

QModelIndex QueueModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex QueueModel::parent(const QModelIndex&) const {
    return {};
}

int QueueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int QueueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant QueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::ToolTipRole) return toolTip_;
    if (role != Qt::DisplayRole) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0:
            return QString::fromStdString(row.text);
        case 1:
            return QString::fromStdString(row.status);
        default:
            return {};
    }
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= ColumnCount()) return {};
    return headers_.at(section);
}

Qt::ItemFlags QueueModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Not editable: an item's text is the document that will be converted.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace pendrel::qt
