#include "programs/linux/PendrelProgram.h"

#include <QGuiApplication>
#include <filesystem>

#include "platform/AppInfo.h"

#include "programs/linux/TerminationSignals.h"

namespace pendrel::programs {

Text LocateOfficeHelper(const Text& programFolder) {
    const std::filesystem::path folder(programFolder);
    const auto beside = folder / "pendrel-office";
    if (std::filesystem::exists(beside)) return beside.string();
    return (folder.parent_path() / "libexec" / "pendrel" / "pendrel-office").string();
}

PendrelProgram::PendrelProgram(const Text& officeHelper, const Text& officeProfile,
                               unsigned officePool, const SandboxSettings& sandbox,
                               std::uint8_t pdfFlags)
    : engine(desk, eventPump,
             office::HelperCommand{
                 officeHelper, officeProfile,
                 IsolationPolicyFor(
                     sandbox, [this](const std::string& warning) { ShowFromAnyThread(warning); }),
                 pdfFlags},
             officePool),
      form(Form1Controls{window, window.listView1(), window.check1(), window.check2(),
                         window.check4(), window.commonDialog1()},
           Form1Services{screen, fileSystem, directoryLister, messageBoxes, folderBrowser, program,
                         eventPump, engine, desk, shell, progress, engine}) {
    QGuiApplication::setDesktopFileName(QString::fromUtf8(DesktopEntryName));
    window.Connect(form);
    // LibreOffice takes seconds to start: start it as soon as there is something to convert,
    // so that Convert seldom waits for it.
    QObject::connect(&window.listView1().Model(), &qt::QueueModel::becameNonEmpty, &window,
                     [this] { engine.WarmUp(); });
    program.AddShutdownHook([this] { engine.Shutdown(); });
    // Asked to stop, the program ends as closing its window ends it.
    EndOnTerminationSignals([this] { form.Form_Unload(); });
}

void PendrelProgram::ShowFromAnyThread(const std::string& text) {
    QMetaObject::invokeMethod(
        &window, [this, text] { messageBoxes.Show(text, ApplicationTitle); }, Qt::QueuedConnection);
}

}  // namespace pendrel::programs
