// Pendrel: builds the program, runs the window's load step, shows the window and waits for
// events. Closing the window ends the program.
#include <QApplication>

#include "platform/qt/PendrelProgram.h"

int main(int argc, char* argv[]) {
    using namespace pendrel;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendrel"));

    const qt::QtProgram where;
    qt::PendrelProgram pendrel(qt::LocateOfficeHelper(where.Folder()));
    QApplication::setWindowIcon(pendrel.window.windowIcon());
    pendrel.form.Form_Load();
    pendrel.window.show();
    return app.exec();
}
