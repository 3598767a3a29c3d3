#pragma once
// Reads pendrel's command line by the rules of platform/CommandLineOptions.h. It needs no
// application object and no display, so --help and --version answer before any window.
#include <QStringList>
#include <string>
#include <vector>

#include "batch/Shard.h"
#include "platform/CommandLineOptions.h"

namespace pendrel::programs {

// The name the program goes by in its help and its messages.
inline constexpr const char* ProgramName = "pendrel";

// What --convert was asked to do, besides its paths.
struct ConvertRequest {
    QString outputDir;  // empty: each PDF beside its document
    unsigned jobs = 0;  // 0: the pool's default
    bool update = false;
    QString report;  // empty: no report
    batch::Shard shard;
    bool tagged = false;
    bool pdfa = false;
    bool quiet = false;
};

struct CommandLine {
    using Action = commandline::Action;
    Action action = Action::OpenWindow;
    QStringList paths;  // to queue or convert, in the order given
    QString reason;     // why the command line was refused
    ConvertRequest convert;
};

// The most helpers --jobs may ask for.
inline constexpr unsigned MostJobs = 256;

// The arguments as main received them, the program's own name first.
QStringList ArgumentsOf(int argc, char* argv[]);

CommandLine ReadCommandLine(const QStringList& arguments);

// line's paths as main received them in argv: a name on disk need not be UTF-8, and its bytes
// do not survive the trip through QString.
std::vector<std::string> PathBytes(const CommandLine& line, int argc, char* argv[]);

// What the program prints for a command line it does not open the window for (to the output
// stream, or to the error stream when refused).
std::string AnswerText(const CommandLine& line);

}  // namespace pendrel::programs
