#include "programs/linux/HeadlessConvert.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "batch/HeadlessBatch.h"
#include "common/LeftBehind.h"
#include "platform/office/render/OfficeRenderer.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixOutputFolders.h"
#include "programs/linux/BatchConsole.h"
#include "programs/linux/PendrelProgram.h"
#include "programs/linux/SandboxSettings.h"
#include "programs/linux/TerminationSignals.h"
#include "queue/AddPaths.h"

namespace pendrel::programs {
namespace {

int Refuse(const Text& reason) {
    std::fputs(commandline::RefusalText(ProgramName, reason).c_str(), stderr);
    return commandline::RefusedStatus;
}

// The output folder, made when missing and checked for writing; the reason when it cannot be.
Text PrepareOutputFolder(const Text& folder, OutputFolders& folders) {
    Text error;
    if (!folders.Make(folder, error)) return "--output-dir: " + error;
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "--output-dir: " + folder + " cannot be written: " + std::strerror(errno);
    return {};
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::uint8_t PdfFlags(const ConvertRequest& request) {
    return static_cast<std::uint8_t>((request.tagged ? office::PdfFlag::Tagged : 0) |
                                     (request.pdfa ? office::PdfFlag::ArchiveA2b : 0));
}

}  // namespace

int ConvertWithoutWindow(const ConvertRequest& request, const std::vector<Text>& paths,
                         const Text& programFolder) {
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister lister;
    posix::PosixOutputFolders folders;
    std::error_code unknown;
    const Text currentFolder = std::filesystem::current_path(unknown).string();

    batch::BatchOptions options{paths, {}, request.update, request.shard};
    if (!request.outputDir.isEmpty()) {
        options.outputFolder = AddPaths::Absolute(request.outputDir.toStdString(), currentFolder);
        if (const Text problem = PrepareOutputFolder(options.outputFolder, folders);
            !problem.empty())
            return Refuse(problem);
    }
    std::unique_ptr<std::FILE, FileCloser> report;
    if (!request.report.isEmpty()) {
        const Text name = request.report.toStdString();
        report.reset(std::fopen(name.c_str(), "we"));
        if (!report) return Refuse("--report: " + name + ": " + std::strerror(errno));
    }

    std::stop_source stop;
    const StopOnTerminationSignals stopOnSignals(stop);
    BatchConsole console(report.get(), request.quiet, ::isatty(STDERR_FILENO) == 1);
    batch::BatchEnd end;
    {
        office::OfficeRenderer renderer(
            office::HelperCommand{LocateOfficeHelper(programFolder),
                                  {},
                                  IsolationPolicyFor(ReadSandboxSettings(),
                                                     [](const std::string& warning) {
                                                         std::fputs((warning + "\n").c_str(),
                                                                    stderr);
                                                     }),
                                  PdfFlags(request)},
            request.jobs);
        // LibreOffice starts while the folders are read.
        renderer.WarmUp();
        const auto plan = batch::Plan(options, currentFolder, fileSystem, lister, stop.get_token());
        // What a run that was cut off left at these PDFs' names is settled first.
        std::vector<Text> pdfs;
        for (const batch::PlannedDocument& document : plan)
            if (!document.pdf.empty()) pdfs.push_back(document.pdf);
        LeftBehind::TidyBeside(fileSystem, lister, pdfs);
        end = batch::RunBatch(plan, options.update,
                              batch::BatchServices{fileSystem, folders, renderer, console},
                              stop.get_token());
        console.Finish();
    }  // the helpers end and the spool goes here
    if (end == batch::BatchEnd::Interrupted && !request.quiet)
        std::fputs((Text(ProgramName) + ": interrupted; the document in hand was abandoned "
                                        "and its old PDF kept.\n")
                       .c_str(),
                   stderr);
    if (!console.ReportWritten()) {
        std::fputs((Text(ProgramName) + ": the report could not be written in full.\n").c_str(),
                   stderr);
        if (end == batch::BatchEnd::AllConverted) end = batch::BatchEnd::SomeFailed;
    }
    return batch::ExitStatus(end);
}

}  // namespace pendrel::programs
