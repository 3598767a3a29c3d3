#pragma once
// In-memory stand-ins for the screen, the file system, message boxes and the program.
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"

namespace pendrel::fakes {

class FakeScreen : public Screen {
public:
    float width = 15360, height = 11520;
    float WidthTwips() const override { return width; }
    float HeightTwips() const override { return height; }
};

class FakeFileSystem : public FileSystem {
public:
    char separator = '/';
    std::map<Text, std::uint64_t> files;  // path -> size
    std::vector<Text> deleted;
    std::set<Text> beingWritten;
    bool failDeletes = false;

    char Separator() const override { return separator; }
    std::optional<std::int64_t> ModificationTime(const Text& p) const noexcept override {
        if (files.count(p) == 0) return std::nullopt;
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
        if (failDeletes) throw SystemError(75, "Path/File access error");
        files.erase(p);
        deleted.push_back(p);
    }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        Text text, title;
    };
    std::vector<Shown> shown;
    void Show(const Text& text, const Text& title) override { shown.push_back({text, title}); }
};

class FakeFolderBrowser : public FolderBrowser {
public:
    std::vector<Text> nextResults;
    WindowHandle lastOwner = 0;
    Text lastTitle;
    Text Browse(WindowHandle owner, const Text& title) override {
        lastOwner = owner;
        lastTitle = title;
        if (nextResults.empty()) return {};
        Text r = nextResults.front();
        nextResults.erase(nextResults.begin());
        return r;
    }
};

class FakeProgram : public Program {
public:
    Text folder = "/opt/pendrel";
    int ended = 0;
    Text Folder() const override { return folder; }
    void End() override { ++ended; }
};

class FakeEventPump : public EventPump {
public:
    int calls = 0;
    std::function<void()> onPump;
    void ProcessPendingMessages(std::chrono::milliseconds) override {
        ++calls;
        if (onPump) onPump();
    }
    void Wake() override {}
};

}  // namespace pendrel::fakes
