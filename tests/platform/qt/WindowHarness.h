#pragma once
// The real Qt window wired to a real Form1 on the real file system and folder lister, with
// in-memory stand-ins for the other services, and loaded. The program's folder is a fresh
// temporary folder, which also holds the files a test makes.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/Form1.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel::qttest {

struct WindowHarness {
    QTemporaryDir folder;
    qt::Form1Window window;
    fakes::FakeScreen screen;
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister directories;
    qt::QtMessageBoxes messages{&window};
    qt::QtFolderBrowser folderBrowser{&window};
    fakes::FakeProgram program;
    fakes::SleepingPump pump;
    fakes::Nothing nothing;  // no engine, no windows to find
    fakes::FakeShell shell;
    fakes::FakeRunProgress progress;
    NoLookAhead lookAhead;
    std::unique_ptr<Form1> form;

    WindowHarness() {
        program.folder = folder.path().toStdString();
        messages.setAutoAnswer(true);
        form = std::make_unique<Form1>(
            Form1Controls{window, window.listView1(), window.check1(), window.check2(),
                          window.check4(), window.commonDialog1()},
            Form1Services{screen, fileSystem, directories, messages, folderBrowser, program, pump,
                          nothing, nothing, shell, progress, lookAhead});
        window.Connect(*form);
        form->Form_Load();
    }
    // Writes a file at rel below the folder, with the folders on its way.
    QString Make(const QString& rel, const QByteArray& contents = "x") {
        const QString path = folder.filePath(rel);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(contents);
        return path;
    }
    std::vector<Text> Queued() {
        std::vector<Text> texts;
        for (std::size_t i = 1; i <= window.listView1().ItemCount(); ++i)
            texts.push_back(window.listView1().ItemText(i));
        return texts;
    }
};

}  // namespace pendrel::qttest
