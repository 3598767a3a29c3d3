#pragma once
// An in-memory folder tree listed with the Windows attribute rules. Entries are listed in the
// order they were made, "." and ".." first, as Windows lists a folder that is not a root; a
// name beginning with "." is hidden, as on POSIX.
#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

#include "platform/DirectoryLister.h"
#include "platform/posix/WildcardMatch.h"

namespace pendrel::fakes {

class FakeDirectoryLister : public DirectoryLister {
public:
    // Paths given to the builders below are relative to root and use "/".
    FakeDirectoryLister(Text root, char separator) : root_(std::move(root)), sep_(separator) {}

    void Folder(const Text& rel) { NodeAt(rel); }
    void File(const Text& rel) {
        const auto slash = rel.rfind('/');
        Node& parent = slash == Text::npos ? nodes_.front() : NodeAt(rel.substr(0, slash));
        const Text name = rel.substr(slash + 1);
        parent.children.push_back({name, HiddenIfDotted(name), nullptr});
    }
    // A link at rel to the folder target: listed as a directory, leading to target's entries.
    void Link(const Text& rel, const Text& target) {
        Node& to = NodeAt(target);
        const auto slash = rel.rfind('/');
        Node& parent = slash == Text::npos ? nodes_.front() : NodeAt(rel.substr(0, slash));
        parent.children.push_back({rel.substr(slash + 1), FileAttribute::Directory, &to});
    }
    bool MakeUnlistable(const Text& rel) {
        NodeAt(rel).unlistable = true;
        return true;
    }

    // The full path of rel as the program composes it: root, separator, components.
    Text Path(const Text& rel) const {
        Text path = root_ + sep_ + rel;
        for (std::size_t i = root_.size(); i < path.size(); ++i)
            if (path[i] == '/') path[i] = sep_;
        return path;
    }
    const Text& Root() const { return root_; }
    char Separator() const { return sep_; }
    DirectoryLister& Lister() { return *this; }

    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override {
        const Node* node = Resolve(folder);
        if (!node || node->unlistable) return std::nullopt;
        std::vector<Entry> out;
        auto offer = [&](const Text& name, std::uint32_t attributes) {
            const std::uint32_t masked =
                attributes &
                (FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory);
            if ((masked & ~mask) == 0 && posix::MatchesWildcard(name, pattern))
                out.push_back({name, attributes});
        };
        offer(".", FileAttribute::Directory);
        offer("..", FileAttribute::Directory);
        for (const Child& child : node->children) offer(child.name, child.attributes);
        return out;
    }
    std::optional<Text> FolderIdentity(const Text& folder) override {
        const Node* node = Resolve(folder);
        if (!node) return std::nullopt;
        return std::to_string(node->id);
    }

private:
    struct Node;
    struct Child {
        Text name;
        std::uint32_t attributes;
        Node* folder;  // null for a file
    };
    struct Node {
        int id;
        std::vector<Child> children;
        bool unlistable = false;
    };

    static std::uint32_t HiddenIfDotted(const Text& name) {
        return name.starts_with('.') ? FileAttribute::Hidden : 0;
    }

    Node& NodeAt(const Text& rel) {
        Node* node = &nodes_.front();
        std::size_t start = 0;
        while (start <= rel.size()) {
            const std::size_t slash = std::min(rel.find('/', start), rel.size());
            const Text name = rel.substr(start, slash - start);
            start = slash + 1;
            if (name.empty()) continue;
            Child* found = nullptr;
            for (Child& c : node->children)
                if (c.name == name && c.folder) found = &c;
            if (!found) {
                nodes_.push_back({static_cast<int>(nodes_.size()), {}, false});
                node->children.push_back(
                    {name, HiddenIfDotted(name) | FileAttribute::Directory, &nodes_.back()});
                found = &node->children.back();
            }
            node = found->folder;
        }
        return *node;
    }

    // Walks the components after the root; empty ones (a doubled separator) are skipped.
    const Node* Resolve(const Text& path) const {
        if (path.compare(0, root_.size(), root_) != 0) return nullptr;
        const Node* node = &nodes_.front();
        std::string_view rest(path);
        rest.remove_prefix(root_.size());
        if (!rest.empty() && !root_.ends_with(sep_) && rest.front() != sep_) return nullptr;
        while (!rest.empty()) {
            const std::size_t cut = std::min(rest.find(sep_), rest.size());
            const std::string_view name = rest.substr(0, cut);
            rest.remove_prefix(std::min(cut + 1, rest.size()));
            if (name.empty()) continue;
            const Node* next = nullptr;
            for (const Child& c : node->children)
                if (c.folder && c.name == name) next = c.folder;
            if (!next) return nullptr;
            node = next;
        }
        return node;
    }

    Text root_;
    char sep_;
    std::deque<Node> nodes_{Node{0, {}, false}};
};

}  // namespace pendrel::fakes
