// Pendrel: builds the program, runs the window's load step, shows the window and waits for
// events. Closing the window ends the program. Files and folders named on the command line
// (what "Open with Pendrel" passes) are queued once the window is up.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <vector>

#include "programs/linux/PendrelProgram.h"

namespace {

// Every argument after the program's name is a path: the toolkit has already taken its own
// options out, and the program has none.
std::vector<pendrel::Text> PathArguments() {
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    std::vector<pendrel::Text> paths;
    for (const QString& argument : arguments) paths.push_back(argument.toStdString());
    return paths;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace pendrel;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendrel"));

    const qt::QtProgram where;
    programs::PendrelProgram pendrel(programs::LocateOfficeHelper(where.Folder()));
    QApplication::setWindowIcon(pendrel.window.windowIcon());
    pendrel.form.Form_Load();
    pendrel.window.show();

    const std::vector<Text> paths = PathArguments();
    const Text currentFolder = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    // After show: the message naming missing paths then comes up over the window.
    if (!paths.empty())
        QTimer::singleShot(0, &pendrel.window,
                           [&] { pendrel.form.QueuePaths(paths, currentFolder); });
    return app.exec();
}
