#pragma once
// ListView1: the queue in a report-view list-view control. Each item carries its id in its
// lParam, so it is found again after the items before it were removed.
#include "platform/Controls.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

class Win32ListView : public ListView {
public:
    Win32ListView(HWND parent, int id, const RECT& place);
    ~Win32ListView() override;
    Win32ListView(const Win32ListView&) = delete;
    Win32ListView& operator=(const Win32ListView&) = delete;

    HWND Handle() const { return handle_; }

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

private:
    // A 1-based position turned into the control's row; throws std::out_of_range outside
    // 1..Count.
    int RowAt(std::size_t index) const;
    Text CellText(int row, int column) const;

    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    ItemId nextId_ = 1;
};

}  // namespace pendrel::win32
