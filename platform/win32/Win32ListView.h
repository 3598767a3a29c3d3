#pragma once
// ListView1: the queue in a report-view list-view control. Each item carries its id in its
// lParam, so it is found again after the items before it were removed.
#include <optional>
#include <vector>

#include "platform/Controls.h"
#include "platform/WindowSurface.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

class Win32ListView : public ListView {
public:
    // dpi: the screen's; the font and the column widths are scaled to it.
    Win32ListView(HWND parent, int id, const RECT& place, int dpi = LayoutDpi);
    ~Win32ListView() override;
    Win32ListView(const Win32ListView&) = delete;
    Win32ListView& operator=(const Win32ListView&) = delete;

    HWND Handle() const { return handle_; }
    // The window went to a screen of another DPI: the font and the columns follow.
    void SetDpi(int dpi);

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
    // Shown where the user asked for it (see MenuAskedAt), else at the pointer.
    std::optional<std::size_t> PopupMenu(const std::vector<Text>& entries) override;
    // Where in screen coordinates the menu about to be shown was asked for.
    void MenuAskedAt(POINT screenPoint) { menuAt_ = screenPoint; }

    // For tests: the next PopupMenu picks this entry (nothing: dismissed) without showing.
    void setNextMenuChoice(std::optional<std::size_t> choice) { nextMenuChoice_ = choice; }

private:
    // A 1-based position turned into the control's row; throws std::out_of_range outside
    // 1..Count.
    int RowAt(std::size_t index) const;
    Text CellText(int row, int column) const;

    HWND handle_ = nullptr;
    int dpi_ = LayoutDpi;
    HFONT font_ = nullptr;
    std::vector<std::optional<float>> columnTwips_;  // each column's width as last set
    ItemId nextId_ = 1;
    std::optional<POINT> menuAt_;
    std::optional<std::optional<std::size_t>> nextMenuChoice_;
};

}  // namespace pendrel::win32
