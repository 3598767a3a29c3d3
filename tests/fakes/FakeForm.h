#pragma once
// A Form1 wired to in-memory fakes. Tests that need a scripted automation engine, windows to
// find or files of their own pass them; the defaults have no engine and no windows.
#include <memory>

#include "app/Form1.h"
#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"
#include "tests/fakes/SleepingPump.h"

namespace pendrel::fakes {

// No automation engine, and no windows to find.
class Nothing : public AutomationFactory, public WindowMessages {
public:
    DispatchPtr CreateObject(const Text& progId) override {
        throw AutomationError(429, "ActiveX component can't create object: " + progId);
    }
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
    FakeFiles files;
    FakeMessageBoxes messages;
    FakeFolderBrowser folderBrowser;
    FakeProgram program;
    SleepingPump pump;
    Nothing nothing;
    FakeShell shell;
    FakeRunProgress progress;
    NoLookAhead noLookAhead;
    std::unique_ptr<Form1> form;

    explicit FakeForm(AutomationFactory* automation = nullptr, WindowMessages* windows = nullptr,
                      FakeFiles* ownFiles = nullptr) {
        FakeFiles& f = ownFiles ? *ownFiles : files;
        form = std::make_unique<Form1>(
            Form1Controls{window, list, check1, check2, check4, dialog},
            Form1Services{screen, f, f, messages, folderBrowser, program, pump,
                          automation ? *automation : nothing, windows ? *windows : nothing, shell,
                          progress, noLookAhead});
        check1.onClick = [this] { form->Check1_Click(); };
        check2.onClick = [this] { form->Check2_Click(); };
        check4.onClick = [this] { form->Check4_Click(); };
    }
};

}  // namespace pendrel::fakes
