// Pendrel: reads the command line, builds the program, runs the window's load step, shows the
// window and waits for events. Closing the window ends the program. Files and folders named on
// the command line (what "Open with Pendrel" passes) are queued once the window is up. With
// --convert they are converted without any window instead (HeadlessConvert.h).
#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "programs/linux/CommandLine.h"
#include "programs/linux/HeadlessConvert.h"
#include "programs/linux/PdfSettings.h"
#include "programs/linux/PendrelProgram.h"

namespace {

// The paths the command line queues, one line each, when the category's info is switched on:
//   QT_LOGGING_RULES=pendrel.commandline.info=true pendrel ...
Q_LOGGING_CATEGORY(commandLineLog, "pendrel.commandline", QtWarningMsg)

}  // namespace

int main(int argc, char* argv[]) {
    using namespace pendrel;
    // Help, version and a refused command line are answered before there is any window, so
    // they need no display.
    const programs::CommandLine line = programs::ReadCommandLine(programs::ArgumentsOf(argc, argv));
    if (line.action == programs::CommandLine::Action::Convert) {
        // No application object: nothing of the window system is loaded.
        std::error_code unknown;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", unknown);
        return programs::ConvertWithoutWindow(line.convert, programs::PathBytes(line, argc, argv),
                                              self.parent_path().string());
    }
    if (line.action != programs::CommandLine::Action::OpenWindow) {
        const std::string text = programs::AnswerText(line);
        std::FILE* stream = commandline::ExitStatus(line.action) == 0 ? stdout : stderr;
        std::fputs(text.c_str(), stream);
        return commandline::ExitStatus(line.action);
    }

    // The toolkit gets the program's name alone: every argument has been read above, and one
    // after "--" is a path even when it looks like one of the toolkit's options.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendrel"));

    const qt::QtProgram where;
    programs::PendrelProgram pendrel(programs::LocateOfficeHelper(where.Folder()), {}, 0,
                                     programs::ReadSandboxSettings(),
                                     programs::PdfFlagsFromSettings());
    QApplication::setWindowIcon(pendrel.window.windowIcon());
    pendrel.form.Form_Load();
    pendrel.window.show();

    const std::vector<Text> paths = programs::PathBytes(line, argc, argv);
    if (commandLineLog().isInfoEnabled())
        for (const Text& path : paths)
            std::fprintf(stderr, "pendrel.commandline: queue: %s\n", path.c_str());
    std::error_code unknown;
    const Text currentFolder = std::filesystem::current_path(unknown).string();
    // After show: the message naming missing paths then comes up over the window.
    if (!paths.empty())
        QTimer::singleShot(0, &pendrel.window,
                           [&] { pendrel.form.QueuePaths(paths, currentFolder); });
    return app.exec();
}
