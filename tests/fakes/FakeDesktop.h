#pragma once
// In-memory stand-ins for the screen, the files and folders, message boxes, the shell and the
// program.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "platform/text/SameText.h"

namespace pendrel::fakes {

// 1024 x 768 pixels.
class FakeScreen : public Screen {
public:
    float WidthTwips() const override { return 15360; }
    float HeightTwips() const override { return 11520; }
};

// Files by full path with their sizes; the folders are those the paths run through, listed
// in name order. A name that begins with "." is hidden, as on POSIX; hiding by attribute is
// carried along by a rename, as on Windows. Listing patterns are "*" or "*" and an ending.
class FakeFiles : public FileSystem, public DirectoryLister {
public:
    char separator = '/';
    std::map<Text, std::uint64_t> files;  // path -> size
    std::map<Text, PathKind> others;      // there, but no regular file (a pipe, a link, a folder)
    std::map<Text, Text> starts;          // a file's first bytes where they matter; else a PDF's
    std::set<Text> hidden, beingWritten, unlistable, readOnly;
    std::set<Text> locked;           // can be neither renamed nor deleted
    std::map<Text, Text> problems;   // what the lister reports with a file or folder
    std::set<std::int64_t> running;  // the processes that have not ended

    void Add(const Text& path, const Text& problem = {}) {
        files[path] = 1;
        if (!problem.empty()) problems[path] = problem;
    }

    char Separator() const override { return separator; }
    std::optional<std::int64_t> ModificationTime(const Text& p) const noexcept override {
        return files.count(p) || others.count(p) ? std::optional(1700000000) : std::nullopt;
    }
    std::optional<std::uint64_t> FileSize(const Text& p) const noexcept override {
        return files.count(p) ? std::optional(files.at(p)) : std::nullopt;
    }
    bool IsOpenForWriting(const Text& p) const noexcept override {
        return beingWritten.count(p) != 0;
    }
    PathKind KindOf(const Text& p, bool) const noexcept override {
        if (files.count(p)) return PathKind::File;
        if (others.count(p)) return others.at(p);
        for (const auto& [path, size] : files)
            if (path.starts_with(p + separator)) return PathKind::Folder;
        return PathKind::Missing;
    }
    bool IsReadOnly(const Text& p) const noexcept override { return readOnly.count(p) != 0; }
    std::optional<std::string> ReadStart(const Text& p, std::size_t count) const noexcept override {
        if (!files.count(p)) return std::nullopt;
        const auto start = starts.find(p);
        return (start == starts.end() ? Text("%PDF-1.7\n") : start->second).substr(0, count);
    }
    bool ProcessHasEnded(std::int64_t id) const noexcept override { return !running.count(id); }
    void DeleteFile(const Text& p) override {
        if (locked.count(p) || files.erase(p) == 0) throw SystemError(75, "Path/File access error");
        hidden.erase(p);
        starts.erase(p);
        readOnly.erase(p);
    }
    void RenameFile(const Text& from, const Text& to) override {
        if (locked.count(from) || files.count(from) == 0)
            throw SystemError(75, "Path/File access error");
        files[to] = files[from];
        files.erase(from);
        for (std::set<Text>* carried : {&hidden, &readOnly}) {
            carried->erase(to);
            if (carried->erase(from)) carried->insert(to);
        }
        starts.erase(to);
        if (const auto start = starts.find(from); start != starts.end()) {
            starts[to] = start->second;
            starts.erase(from);
        }
    }
    void SetHidden(const Text& p, bool on) noexcept override {
        if (on)
            hidden.insert(p);
        else
            hidden.erase(p);
    }

    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override {
        const auto id = FolderIdentity(folder);
        if (!id || unlistable.count(*id)) return std::nullopt;
        const Text within = *id + separator, ending = pattern.substr(1);
        std::vector<Entry> out;
        for (const auto& [path, size] : files) {
            if (!path.starts_with(within)) continue;
            const std::size_t end = std::min(path.find(separator, within.size()), path.size());
            const Text name = path.substr(within.size(), end - within.size());
            const std::uint32_t kind = (end < path.size() ? FileAttribute::Directory : 0) |
                                       (name.starts_with('.') ? FileAttribute::Hidden : 0);
            if ((kind & ~mask) != 0 || (!out.empty() && out.back().name == name) ||
                name.size() < ending.size() ||
                !SameTextIgnoringCase(name.substr(name.size() - ending.size()), ending))
                continue;
            const auto problem = problems.find(within + name);
            out.push_back({name, kind, problem == problems.end() ? Text() : problem->second});
        }
        return out;
    }
    std::optional<Text> FolderIdentity(const Text& folder) override {
        Text id = folder;
        while (id.ends_with(separator)) id.pop_back();
        for (const auto& [path, size] : files)
            if (path.starts_with(id + separator)) return id;
        return std::nullopt;
    }
};

class FakeShell : public Shell {
public:
    std::vector<Text> opened, shown;
    bool succeeds = true;
    bool Open(const Text& path) override {
        opened.push_back(path);
        return succeeds;
    }
    bool ShowInFolder(const Text& path) override {
        shown.push_back(path);
        return succeeds;
    }
};

class FakeRunProgress : public RunProgress {
public:
    // "2/5" while running, "2/5 failed" once an item failed, "clear" at the end.
    std::vector<Text> shown;
    void Show(std::size_t done, std::size_t total, bool failed) override {
        shown.push_back(std::to_string(done) + "/" + std::to_string(total) +
                        (failed ? " failed" : ""));
    }
    void Clear() override { shown.push_back("clear"); }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        Text text, title;
    };
    std::vector<Shown> shown;
    void Show(const Text& text, const Text& title) override { shown.push_back({text, title}); }

    // The texts shown, each checked to bear the program's title.
    std::vector<Text> Texts() const {
        std::vector<Text> texts;
        for (const Shown& box : shown) texts.push_back(box.title == "Quarrendon" ? box.text : "");
        return texts;
    }
};

class FakeFolderBrowser : public FolderBrowser {
public:
    Text nextResult;  // what the next Browse yields; empty: cancelled
    Text Browse(WindowHandle, const Text&) override { return std::exchange(nextResult, Text()); }
};

class FakeProgram : public Program {
public:
    Text folder = "/opt/pendrel";
    int ended = 0;
    Text Folder() const override { return folder; }
    void End() override { ++ended; }
};

}  // namespace pendrel::fakes
