#pragma once
// A Form1 wired to in-memory fakes. Tests that need a scripted automation engine, windows to
// find, folders to list or a real file system pass their own; the defaults have none of them.
#include <memory>

#include "app/Form1.h"
#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"

namespace pendrel::fakes {

class NoAutomation : public AutomationFactory {
public:
    DispatchPtr CreateObject(const Text& progId) override {
        throw AutomationError(429, "ActiveX component can't create object: " + progId);
    }
};

class NoWindows : public WindowMessages {
public:
    WindowHandle FindWindow(const Text&, const Text&) override { return 0; }
    WindowHandle FindWindowEx(WindowHandle, WindowHandle, const Text&,
                              const std::optional<Text>&) override {
        return 0;
    }
    bool PostMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override {
        return false;
    }
};

class NoDirectories : public DirectoryLister {
public:
    std::optional<std::vector<Entry>> List(const Text&, const Text&, std::uint32_t) override {
        return std::nullopt;
    }
    std::optional<Text> FolderIdentity(const Text&) override { return std::nullopt; }
};

struct FakeForm {
    FakeWindow window;
    FakeListView list;
    FakeButton check1, check2, check4;
    FakeCommonDialog dialog;
    FakeScreen screen;
    FakeFileSystem fileSystem;
    FakeMessageBoxes messages;
    FakeFolderBrowser folderBrowser;
    FakeProgram program;
    FakeEventPump pump;
    NoAutomation noAutomation;
    NoWindows noWindows;
    NoDirectories noDirectories;
    std::unique_ptr<Form1> form;

    explicit FakeForm(AutomationFactory* automation = nullptr, WindowMessages* windows = nullptr,
                      DirectoryLister* directories = nullptr, FileSystem* files = nullptr) {
        form = std::make_unique<Form1>(
            Form1Controls{window, list, check1, check2, check4, dialog},
            Form1Services{screen, files ? *files : fileSystem,
                          directories ? *directories : noDirectories, messages, folderBrowser,
                          program, pump, automation ? *automation : noAutomation,
                          windows ? *windows : noWindows});
        check1.onClick = [this] { form->Check1_Click(); };
        check2.onClick = [this] { form->Check2_Click(); };
        check4.onClick = [this] { form->Check4_Click(); };
    }
};

}  // namespace pendrel::fakes
