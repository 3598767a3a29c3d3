#pragma once
// The same folder trees built two ways, so the scan is checked against the in-memory lister
// (Windows separator) and against the real POSIX lister on disk. Paths given are relative to
// the tree's root and use "/"; a hidden name begins with "." in both.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/posix/PosixDirectoryLister.h"
#include "tests/fakes/FakeDirectoryLister.h"

namespace pendrel::testing {

struct InMemoryTree : fakes::FakeDirectoryLister {
    explicit InMemoryTree(Text root = "C:\\Tree", char separator = '\\')
        : FakeDirectoryLister(std::move(root), separator) {}
};

class OnDiskTree {
public:
    OnDiskTree() {
        Text pattern = (std::filesystem::temp_directory_path() / "pendrel-tree-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    ~OnDiskTree() {
        for (const Text& rel : locked_) ::chmod(Path(rel).c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    char Separator() const { return '/'; }
    Text Root() const { return root_; }
    Text Path(const Text& rel) const { return root_ + "/" + rel; }
    DirectoryLister& Lister() { return lister_; }

    void Folder(const Text& rel) { std::filesystem::create_directories(Path(rel)); }
    Text File(const Text& rel) {
        const auto slash = rel.rfind('/');
        if (slash != Text::npos) Folder(rel.substr(0, slash));
        std::ofstream(Path(rel)) << "x";
        return Path(rel);
    }
    void Link(const Text& rel, const Text& target) {
        std::filesystem::create_directory_symlink(target.empty() ? root_ : Path(target), Path(rel));
    }
    // Root reads every folder whatever its mode, so there it can't be done.
    bool MakeUnlistable(const Text& rel) {
        if (::geteuid() == 0) return false;
        locked_.push_back(rel);
        return ::chmod(Path(rel).c_str(), 0) == 0;
    }

private:
    Text root_;
    posix::PosixDirectoryLister lister_;
    std::vector<Text> locked_;
};

}  // namespace pendrel::testing
