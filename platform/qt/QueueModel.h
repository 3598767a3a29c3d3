#pragma once
// The rows behind the queue list: one flat table held in a vector, cheap at 100,000 items.
#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/Controls.h"

namespace pendrel::qt {

class QueueModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using ItemId = ListView::ItemId;

    explicit QueueModel(QObject* parent = nullptr);

    void AppendColumn(const QString& title);
    int ColumnCount() const { return static_cast<int>(headers_.size()); }

    // Rows are 0-based here; the list view turns them into 1-based positions.
    int AppendRow(const Text& text);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const Text& RowText(int row) const { return rows_.at(static_cast<std::size_t>(row)).text; }
    const Text& RowStatus(int row) const { return rows_.at(static_cast<std::size_t>(row)).status; }
    void SetRowStatus(int row, const Text& status);
    void RemoveRow(int row);
    ItemId IdOfRow(int row) const { return rows_.at(static_cast<std::size_t>(row)).id; }
    std::optional<int> RowOfId(ItemId id) const;

    void SetToolTip(const QString& text) { toolTip_ = text; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The queue got its first item (again): a moment to get ready for a conversion.
    void becameNonEmpty();

private:
    struct Row {
        ItemId id;
        Text text;
        Text status;
    };

    // Rows are only appended (with rising ids) or removed, never moved, so the ids stay
    // sorted and an id is found by binary search.
    std::vector<Row> rows_;
    QStringList headers_;
    QString toolTip_;
    ItemId nextId_ = 1;
};

}  // namespace pendrel::qt
