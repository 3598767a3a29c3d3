#pragma once
// A Form1 wired to in-memory fakes, its folder tree rooted at "/t". Tests that need a
// scripted automation engine or windows to find pass their own; the defaults have none.
#include <memory>

#include "app/Form1.h"
#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"
#include "tests/fakes/FakeDirectoryLister.h"
#include "tests/fakes/SleepingPump.h"

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

struct FakeForm {
    FakeWindow window;
    FakeListView list;
    FakeButton check1, check2, check4;
    FakeCommonDialog dialog;
    FakeScreen screen;
    FakeFileSystem fileSystem;
    FakeDirectoryLister folders;
    FakeMessageBoxes messages;
    FakeFolderBrowser folderBrowser;
    FakeProgram program;
    SleepingPump pump;
    NoAutomation noAutomation;
    NoWindows noWindows;
    FakeShell shell;
    FakeRunProgress progress;
    NoLookAhead noLookAhead;
    std::unique_ptr<Form1> form;

    explicit FakeForm(AutomationFactory* automation = nullptr, WindowMessages* windows = nullptr,
                      FileSystem* files = nullptr) {
        form = std::make_unique<Form1>(
            Form1Controls{window, list, check1, check2, check4, dialog},
            Form1Services{screen, files ? *files : fileSystem, folders, messages, folderBrowser,
                          program, pump, automation ? *automation : noAutomation,
                          windows ? *windows : noWindows, shell, progress, noLookAhead});
        check1.onClick = [this] { form->Check1_Click(); };
        check2.onClick = [this] { form->Check2_Click(); };
        check4.onClick = [this] { form->Check4_Click(); };
    }
};

}  // namespace pendrel::fakes
