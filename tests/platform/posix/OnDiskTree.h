#pragma once
// A folder tree on disk under the temporary folder, removed afterwards. Paths given are
// relative to its root and use "/".
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Text.h"

namespace pendrel::posixtest {

class OnDiskTree {
public:
    OnDiskTree() {
        Text pattern = (std::filesystem::temp_directory_path() / "pendrel-tree-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    ~OnDiskTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    OnDiskTree(const OnDiskTree&) = delete;
    OnDiskTree& operator=(const OnDiskTree&) = delete;

    const Text& Root() const { return root_; }
    Text Path(const Text& rel) const { return root_ + "/" + rel; }

    void Folder(const Text& rel) { std::filesystem::create_directories(Path(rel)); }
    // A file of the given contents, with the folders on its way.
    Text File(const Text& rel, const Text& contents = "x") {
        const auto slash = rel.rfind('/');
        if (slash != Text::npos) Folder(rel.substr(0, slash));
        std::ofstream(Path(rel), std::ios::binary) << contents;
        return Path(rel);
    }
    void Link(const Text& rel, const Text& target) {
        std::filesystem::create_directory_symlink(target.empty() ? root_ : Path(target), Path(rel));
    }

private:
    Text root_;
};

}  // namespace pendrel::posixtest
