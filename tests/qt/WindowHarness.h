#pragma once
// The real Qt window wired to a real Form1, with in-memory stand-ins for the services the
// window's own tests don't look at. The program's folder is a fresh temporary folder.
#include <QTemporaryDir>
#include <memory>

#include "app/Form1.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel::qttest {

struct WindowHarness {
    QTemporaryDir programFolder;
    qt::Form1Window window;
    fakes::FakeScreen screen;
    posix::PosixFileSystem fileSystem;
    fakes::NoDirectories directories;
    qt::QtMessageBoxes messages{&window};
    qt::QtFolderBrowser folderBrowser{&window};
    fakes::FakeProgram program;
    fakes::FakeEventPump pump;
    fakes::NoAutomation automation;
    fakes::NoWindows windowMessages;
    std::unique_ptr<Form1> form;

    WindowHarness() {
        program.folder = programFolder.path().toStdString();
        messages.setAutoAnswer(true);
        form = std::make_unique<Form1>(
            window.Controls(),
            Form1Services{screen, fileSystem, directories, messages, folderBrowser, program, pump,
                          automation, windowMessages});
        window.Connect(*form);
    }
};

}  // namespace pendrel::qttest
