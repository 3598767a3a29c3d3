#include "platform/qt/QtListView.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <stdexcept>

#include "platform/WindowSurface.h"

namespace pendrel::qt {

QtListView::QtListView(QWidget* parent) : QTreeView(parent) {
    setModel(&model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // keeps a list of 100,000 items cheap to lay out
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setExpandsOnDoubleClick(false);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void QtListView::AddColumnHeader(const Text& text) {
    model_.AppendColumn(QString::fromStdString(text));
}

void QtListView::SetColumnHeaderWidth(std::size_t index, float twips) {
    if (index < 1 || index > ColumnHeaderCount())
        throw std::out_of_range("ColumnHeaders: no such column");
    setColumnWidth(static_cast<int>(index - 1), TwipsToPixels(twips));
}

std::size_t QtListView::ColumnHeaderCount() const {
    return static_cast<std::size_t>(model_.ColumnCount());
}

std::size_t QtListView::AddItem(const Text& text) {
    return static_cast<std::size_t>(model_.AppendRow(text)) + 1;
}

std::size_t QtListView::ItemCount() const {
    return static_cast<std::size_t>(model_.RowCount());
}

Text QtListView::ItemText(std::size_t index) const {
    return model_.RowText(RowAt(index));
}

Text QtListView::SubItem(std::size_t index, int column) const {
    const int row = RowAt(index);
    return column == 1 ? model_.RowStatus(row) : Text();
}

void QtListView::SetSubItem(std::size_t index, int column, const Text& text) {
    const int row = RowAt(index);
    if (column != 1) throw std::out_of_range("SubItems: only the status column exists");
    model_.SetRowStatus(row, text);
}

void QtListView::RemoveItem(std::size_t index) {
    model_.RemoveRow(RowAt(index));
}

std::optional<std::size_t> QtListView::SelectedIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(rows.first().row()) + 1;
}

ListView::ItemId QtListView::IdAt(std::size_t index) const {
    return model_.IdOfRow(RowAt(index));
}

std::optional<std::size_t> QtListView::IndexOf(ItemId id) const {
    const auto row = model_.RowOfId(id);
    if (!row) return std::nullopt;
    return static_cast<std::size_t>(*row) + 1;
}

int QtListView::RowAt(std::size_t index) const {
    if (index < 1 || index > ItemCount()) throw std::out_of_range("ListItems: no such item");
    return static_cast<int>(index - 1);
}

void QtListView::EnsureVisible(std::size_t index) {
    scrollTo(model_.index(RowAt(index), 0), QAbstractItemView::EnsureVisible);
}

std::optional<std::size_t> QtListView::PopupMenu(const std::vector<Text>& entries) {
    menusShown_.push_back(entries);
    if (nextMenuChoice_) {
        const auto choice = *nextMenuChoice_;
        nextMenuChoice_.reset();
        return choice;
    }
    QMenu menu(this);
    std::vector<QAction*> actions;
    for (const Text& entry : entries)
        actions.push_back(menu.addAction(QString::fromStdString(entry)));
    const QAction* chosen = menu.exec(menuAt_.isNull() ? QCursor::pos() : menuAt_);
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (actions[i] == chosen) return i;
    return std::nullopt;
}

void QtListView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu is for the current item, shown beside it.
    const QModelIndex item =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!item.isValid() || !onItemMenu) return;
    menuAt_ = event->reason() == QContextMenuEvent::Mouse
                  ? event->globalPos()
                  : viewport()->mapToGlobal(visualRect(item).bottomLeft());
    onItemMenu(static_cast<std::size_t>(item.row()) + 1);
    menuAt_ = QPoint();
    event->accept();
}

void QtListView::mousePressEvent(QMouseEvent* event) {
    ForgetSelectionOffItems(event);
    QTreeView::mousePressEvent(event);
}

void QtListView::mouseDoubleClickEvent(QMouseEvent* event) {
    ForgetSelectionOffItems(event);
    QTreeView::mouseDoubleClickEvent(event);
    // A double-click anywhere in the list counts, as the removal acts on the selection.
    if (onDblClick) onDblClick();
}

void QtListView::ForgetSelectionOffItems(QMouseEvent* event) {
    // A click on the empty part of the list selects nothing, so a double-click there can't
    // remove the item that happened to be selected before.
    if (!indexAt(event->position().toPoint()).isValid()) clearSelection();
}

void QtListView::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QTreeView::mouseMoveEvent(event);
    event->accept();  // the window's background must not see it too
}

}  // namespace pendrel::qt
