#pragma once
// ListView1: the queue list in report view, a tree view over QueueModel.
#include <QTreeView>
#include <functional>

#include "platform/Controls.h"
#include "platform/qt/QueueModel.h"

namespace pendrel::qt {

class QtListView : public QTreeView, public ListView {
    Q_OBJECT
public:
    explicit QtListView(QWidget* parent = nullptr);

    std::function<void()> onDblClick;
    std::function<void()> onMouseMove;
    // The user asked for the menu of the item at this 1-based position.
    std::function<void(std::size_t)> onItemMenu;

    // Where the program can learn that the queue has grown (rowsInserted and the like).
    QueueModel& Model() { return model_; }

    void AddColumnHeader(const Text& text) override;
    void SetColumnHeaderWidth(std::size_t index, float twips) override;
    std::size_t ColumnHeaderCount() const override;

    std::size_t AddItem(const Text& text) override;
    std::size_t ItemCount() const override;
    Text ItemText(std::size_t index) const override;
    Text SubItem(std::size_t index, int column) const override;
    void SetSubItem(std::size_t index, int column, const Text& text) override;
    void RemoveItem(std::size_t index) override;
    std::optional<std::size_t> SelectedIndex() const override;

    ItemId IdAt(std::size_t index) const override;
    std::optional<std::size_t> IndexOf(ItemId id) const override;

    void EnsureVisible(std::size_t index) override;
    std::optional<std::size_t> PopupMenu(const std::vector<Text>& entries) override;

    // For tests: the next PopupMenu picks this entry (nothing: dismissed) without showing.
    void setNextMenuChoice(std::optional<std::size_t> choice) { nextMenuChoice_ = choice; }
    const std::vector<std::vector<Text>>& menusShown() const { return menusShown_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A 1-based position turned into a row; throws std::out_of_range outside 1..Count.
    int RowAt(std::size_t index) const;
    void ForgetSelectionOffItems(QMouseEvent* event);

    QueueModel model_;
    QPoint menuAt_;  // where the menu was asked for, in global coordinates
    std::optional<std::optional<std::size_t>> nextMenuChoice_;
    std::vector<std::vector<Text>> menusShown_;
};

}  // namespace pendrel::qt
