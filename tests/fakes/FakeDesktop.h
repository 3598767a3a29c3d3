#pragma once
// In-memory stand-ins for the screen, the file system, message boxes, the shell and the
// program.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"

namespace pendrel::fakes {

// 1024 x 768 pixels.
class FakeScreen : public Screen {
public:
    float WidthTwips() const override { return 15360; }
    float HeightTwips() const override { return 11520; }
};

// Files by path with their sizes. Hiding is an attribute that a rename carries along, as on
// Windows.
class FakeFileSystem : public FileSystem {
public:
    char separator = '/';
    std::map<Text, std::uint64_t> files;  // path -> size
    std::set<Text> others;                // there, but no regular file (a pipe, a device)
    std::set<Text> hidden;
    std::set<Text> beingWritten;
    std::set<Text> locked;  // can be neither renamed nor deleted
    std::vector<Text> deleted;

    char Separator() const override { return separator; }
    std::optional<std::int64_t> ModificationTime(const Text& p) const noexcept override {
        if (files.count(p) == 0 && others.count(p) == 0) return std::nullopt;
        return 1700000000;
    }
    std::optional<std::uint64_t> FileSize(const Text& p) const noexcept override {
        auto it = files.find(p);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool IsOpenForWriting(const Text& p) const noexcept override {
        return beingWritten.count(p) != 0;
    }
    void DeleteFile(const Text& p) override {
        if (locked.count(p) || files.erase(p) == 0) throw SystemError(75, "Path/File access error");
        hidden.erase(p);
        deleted.push_back(p);
    }
    void RenameFile(const Text& from, const Text& to) override {
        if (locked.count(from) || files.count(from) == 0)
            throw SystemError(75, "Path/File access error");
        files[to] = files[from];
        files.erase(from);
        hidden.erase(to);
        if (hidden.erase(from)) hidden.insert(to);
    }
    void SetHidden(const Text& p, bool on) noexcept override {
        if (on)
            hidden.insert(p);
        else
            hidden.erase(p);
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
