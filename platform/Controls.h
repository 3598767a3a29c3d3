#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace pendrel {

// The queue list in report view. Positions are 1-based and contiguous, as its users expect.
// Every item also has an id that stays with it while positions shift under removals.
class ListView {
public:
    using ItemId = std::uint64_t;

    virtual ~ListView() = default;

    // ColumnHeaders.Add (text only) and ColumnHeaders(i).Width in twips.
    virtual void AddColumnHeader(const Text& text) = 0;
    virtual void SetColumnHeaderWidth(std::size_t index, float twips) = 0;
    virtual std::size_t ColumnHeaderCount() const = 0;

    // ListItems.Add(, , text): appended after the last item; returns its position.
    virtual std::size_t AddItem(const Text& text) = 0;
    virtual std::size_t ItemCount() const = 0;
    virtual Text ItemText(std::size_t index) const = 0;
    virtual Text SubItem(std::size_t index, int column) const = 0;
    virtual void SetSubItem(std::size_t index, int column, const Text& text) = 0;
    // ListItems.Remove(i): every later item moves up by one.
    virtual void RemoveItem(std::size_t index) = 0;
    // SelectedItem.Index, or nothing when no item is selected.
    virtual std::optional<std::size_t> SelectedIndex() const = 0;

    virtual ItemId IdAt(std::size_t index) const = 0;
    virtual std::optional<std::size_t> IndexOf(ItemId id) const = 0;

    // ListItem.EnsureVisible: scrolls the list so that the item shows; the selection stays.
    virtual void EnsureVisible(std::size_t index) = 0;
    // A pop-up menu of these entries over the list, where the user asked for it; the entry
    // chosen, or nothing when the menu was dismissed. Modal, like a message box.
    virtual std::optional<std::size_t> PopupMenu(const std::vector<Text>& entries) = 0;
};

// A two-state button drawn as a push button: Value 0 up, 1 down. Writing Value from code
// raises Click, as a click by the user does.
class PictureButton {
public:
    virtual ~PictureButton() = default;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
};

// The file-open dialog. ShowOpen is modal; FileName afterwards is empty (cancelled), one
// full path, or the folder followed by each picked name, each name preceded by one NUL.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    virtual void SetFlags(std::int32_t flags) = 0;
    virtual void SetDialogTitle(const Text& title) = 0;
    virtual void SetFilter(const Text& filter) = 0;
    virtual void ShowOpen() = 0;
    virtual Text FileName() const = 0;
};

}  // namespace pendrel
