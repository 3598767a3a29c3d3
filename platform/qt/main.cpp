// Pendrel: builds the window, its controls and the services they need, runs the load step,
// shows the window and waits for events. Closing the window ends the program.
#include <QApplication>

#include "app/Form1.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/PendingEngine.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtScreen.h"

int main(int argc, char* argv[]) {
    using namespace pendrel;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendrel"));

    qt::Form1Window window;
    QApplication::setWindowIcon(window.windowIcon());

    qt::QtScreen screen;
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister directoryLister;
    qt::QtMessageBoxes messageBoxes(&window);
    qt::QtFolderBrowser folderBrowser(&window);
    qt::QtProgram program;
    qt::QtEventPump eventPump;
    qt::PendingAutomation automation;
    qt::PendingWindowMessages windowMessages;

    Form1 form(window.Controls(),
               Form1Services{screen, fileSystem, directoryLister, messageBoxes, folderBrowser,
                             program, eventPump, automation, windowMessages});
    window.Connect(form);

    // The document engine plugs in here: it can warm up when the queue gets its first item
    // (QueueModel::becameNonEmpty of window.listView1().Model()) and be stopped by a
    // shutdown hook (program.AddShutdownHook), which runs before the process ends.

    form.Form_Load();
    window.show();
    return app.exec();
}
