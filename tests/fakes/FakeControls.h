#pragma once
// In-memory stand-ins for the window and its controls.
#include <algorithm>
#include <functional>
#include <vector>

#include "platform/Controls.h"
#include "platform/WindowSurface.h"

namespace pendrel::fakes {

class FakeWindow : public WindowSurface {
public:
    float left = 0, top = 0, width = 7590, height = 4560;
    Text caption = "Tallowick";
    int pointer = 0;
    Text mouseIcon;

    float Left() const override { return left; }
    void SetLeft(float v) override { left = v; }
    float Top() const override { return top; }
    void SetTop(float v) override { top = v; }
    float Width() const override { return width; }
    float Height() const override { return height; }
    Text Caption() const override { return caption; }
    void SetCaption(const Text& c) override { caption = c; }
    int MousePointer() const override { return pointer; }
    void SetMousePointer(int p) override { pointer = p; }
    void SetMouseIcon(const Text& file) override { mouseIcon = file; }
    WindowHandle hWnd() const override { return 0x1234; }
};

class FakeListView : public ListView {
public:
    struct Item {
        ItemId id;
        Text text, status;
    };
    std::vector<Item> items;
    std::optional<std::size_t> selected;
    std::vector<std::size_t> madeVisible;   // each EnsureVisible, in order
    std::vector<std::vector<Text>> menus;   // the entries of each menu shown
    std::optional<std::size_t> menuChoice;  // what the user picks in every menu
    std::function<void()> whileMenuIsOpen;  // what else happens while the menu is up

    void AddColumnHeader(const Text&) override {}
    void SetColumnHeaderWidth(std::size_t, float) override {}
    std::size_t ColumnHeaderCount() const override { return 2; }
    std::size_t AddItem(const Text& text) override {
        items.push_back({nextId_++, text, ""});
        return items.size();
    }
    std::size_t ItemCount() const override { return items.size(); }
    Text ItemText(std::size_t i) const override { return items.at(i - 1).text; }
    Text SubItem(std::size_t i, int column) const override {
        return column == 1 ? items.at(i - 1).status : Text();
    }
    void SetSubItem(std::size_t i, int column, const Text& text) override {
        if (column == 1) items.at(i - 1).status = text;
    }
    void RemoveItem(std::size_t i) override {
        items.at(i - 1);  // no such item: out of range, as on the real list
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(i - 1));
        selected.reset();
    }
    std::optional<std::size_t> SelectedIndex() const override { return selected; }
    ItemId IdAt(std::size_t i) const override { return items.at(i - 1).id; }
    std::optional<std::size_t> IndexOf(ItemId id) const override {
        auto it = std::find_if(items.begin(), items.end(), [&](auto& x) { return x.id == id; });
        if (it == items.end()) return std::nullopt;
        return static_cast<std::size_t>(it - items.begin()) + 1;
    }
    void EnsureVisible(std::size_t i) override { madeVisible.push_back(i); }
    std::optional<std::size_t> PopupMenu(const std::vector<Text>& entries) override {
        menus.push_back(entries);
        if (whileMenuIsOpen) whileMenuIsOpen();
        return menuChoice;
    }

    std::vector<Text> Texts() const { return Column(&Item::text); }
    std::vector<Text> Statuses() const { return Column(&Item::status); }

private:
    std::vector<Text> Column(Text Item::*column) const {
        std::vector<Text> out;
        for (const Item& item : items) out.push_back(item.*column);
        return out;
    }
    ItemId nextId_ = 1;
};

// Writing Value raises Click synchronously, as the toolkit does.
class FakeButton : public PictureButton {
public:
    std::function<void()> onClick;
    int value = 0;
    int Value() const override { return value; }
    void SetValue(int v) override {
        value = v;
        if (onClick) onClick();
    }
    // What a user's click does: the button goes down and Click is raised.
    void UserClick() { SetValue(1); }
};

class FakeCommonDialog : public CommonDialog {
public:
    Text nextResult, fileName;  // what the next ShowOpen yields; what the last one did
    void SetFlags(std::int32_t) override {}
    void SetDialogTitle(const Text&) override {}
    void SetFilter(const Text&) override {}
    void ShowOpen() override { fileName = nextResult; }
    Text FileName() const override { return fileName; }
};

}  // namespace pendrel::fakes
