#pragma once
// The queue a scan by the rules of Add Folder and Add Word Files fills when there is no
// window: the paths in the order they were added, nothing else.
#include <vector>

#include "platform/Controls.h"

namespace pendrel::batch {

class FoundDocuments final : public ListView {
public:
    const std::vector<Text>& Paths() const { return paths_; }

    void AddColumnHeader(const Text&) override {}
    void SetColumnHeaderWidth(std::size_t, float) override {}
    std::size_t ColumnHeaderCount() const override { return 0; }
    std::size_t AddItem(const Text& text) override {
        paths_.push_back(text);
        return paths_.size();
    }
    std::size_t ItemCount() const override { return paths_.size(); }
    Text ItemText(std::size_t index) const override { return paths_.at(index - 1); }
    Text SubItem(std::size_t, int) const override { return {}; }
    void SetSubItem(std::size_t, int, const Text&) override {}
    void RemoveItem(std::size_t index) override {
        paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index - 1));
    }
    std::optional<std::size_t> SelectedIndex() const override { return std::nullopt; }
    ItemId IdAt(std::size_t index) const override { return index; }
    std::optional<std::size_t> IndexOf(ItemId id) const override {
        if (id == 0 || id > paths_.size()) return std::nullopt;
        return static_cast<std::size_t>(id);
    }
    void EnsureVisible(std::size_t) override {}
    std::optional<std::size_t> PopupMenu(const std::vector<Text>&) override { return std::nullopt; }

private:
    std::vector<Text> paths_;
};

}  // namespace pendrel::batch
