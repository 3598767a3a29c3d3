#pragma once
// An in-memory folder tree listed with the Windows attribute rules, each folder's entries in
// the order they were made. A name that begins with "." is hidden, as on POSIX. Patterns are
// "*" or "*" and an ending, compared without regard to case. A folder's identity is its path
// with doubled and trailing separators dropped.
#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "platform/DirectoryLister.h"
#include "platform/text/SameText.h"

namespace pendrel::fakes {

class FakeDirectoryLister : public DirectoryLister {
public:
    explicit FakeDirectoryLister(Text root = "/t", char separator = '/')
        : root_(std::move(root)), sep_(separator) {
        folders_[Canonical(root_)];
    }

    // rel is below the root, with "/" between names; the folders on its way are made, and
    // problem goes to its last name.
    void File(const Text& rel, const Text& problem = {}) { Add(rel, 0, problem); }
    void Folder(const Text& rel, const Text& problem = {}) {
        Add(rel, FileAttribute::Directory, problem);
    }
    void MakeUnlistable(const Text& rel) { unlistable_.insert(Canonical(Path(rel))); }

    // The full path of rel as the program composes it: root, separator, names.
    Text Path(const Text& rel) const {
        Text path = root_ + sep_ + rel;
        for (std::size_t i = root_.size(); i < path.size(); ++i)
            if (path[i] == '/') path[i] = sep_;
        return path;
    }
    std::vector<Text> Paths(std::vector<Text> rels) const {
        for (Text& rel : rels) rel = Path(rel);
        return rels;
    }

    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override {
        const auto found = folders_.find(Canonical(folder));
        if (found == folders_.end() || unlistable_.count(found->first)) return std::nullopt;
        std::vector<Entry> out;
        for (const Entry& entry : found->second) {
            const std::uint32_t kinds =
                entry.attributes &
                (FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory);
            if ((kinds & ~mask) == 0 && Matches(entry.name, pattern)) out.push_back(entry);
        }
        return out;
    }
    std::optional<Text> FolderIdentity(const Text& folder) override {
        const Text key = Canonical(folder);
        if (folders_.count(key) == 0) return std::nullopt;
        return key;
    }

private:
    static bool Matches(std::string_view name, std::string_view pattern) {
        if (!pattern.starts_with('*')) return name == pattern;
        const std::string_view ending = pattern.substr(1);
        return name.size() >= ending.size() &&
               SameTextIgnoringCase(name.substr(name.size() - ending.size()), ending);
    }

    Text Canonical(const Text& path) const {
        Text out;
        for (const char c : path)
            if (c != sep_ || !out.ends_with(sep_)) out += c;
        while (out.size() > root_.size() && out.ends_with(sep_)) out.pop_back();
        return out;
    }

    void Add(const Text& rel, std::uint32_t kind, const Text& problem) {
        Text folder = Canonical(root_);
        for (std::size_t start = 0; start <= rel.size();) {
            const std::size_t slash = std::min(rel.find('/', start), rel.size());
            const Text name = rel.substr(start, slash - start);
            const bool last = slash == rel.size();
            const Text path = Canonical(folder + sep_ + name);
            const std::uint32_t hidden = name.starts_with('.') ? FileAttribute::Hidden : 0;
            if (last || folders_.count(path) == 0)
                folders_[folder].push_back({name, (last ? kind : FileAttribute::Directory) | hidden,
                                            last ? problem : Text()});
            if (!last || kind == FileAttribute::Directory) folders_[path];
            folder = path;
            start = slash + 1;
        }
    }

    Text root_;
    char sep_;
    std::map<Text, std::vector<Entry>> folders_;  // by identity: the entries in the order made
    std::set<Text> unlistable_;
};

}  // namespace pendrel::fakes
