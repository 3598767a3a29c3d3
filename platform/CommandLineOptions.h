#pragma once
// Pendrel's command line, the same on every platform: its options, what --help and --version
// print, and how a refused command line is reported. Each program's parser sets itself up
// from these tables, and the manual page is written from the same text.
#include <cstddef>
#include <string>
#include <string_view>

namespace pendrel::commandline {

struct Option {
    std::string_view shortName;  // after one dash; empty when there is none
    std::string_view longName;   // after two dashes
    std::string_view description;
    std::string_view valueName = {};  // the value it takes; empty when it takes none
};

inline constexpr Option HelpOption{"h", "help", "Print this help and exit."};
inline constexpr Option VersionOption{"v", "version", "Print the version and exit."};
inline constexpr Option Options[] = {HelpOption, VersionOption};

// Converting without a window (Linux): --convert and the options that go with it.
inline constexpr Option ConvertOption{
    "", "convert",
    "Convert the documents named, and every .doc in the folders named, to PDF files without a "
    "window, then exit. Each PDF goes beside its document."};
inline constexpr Option OutputDirOption{
    "", "output-dir",
    "Put each PDF under DIR instead, at the path of its document relative to the path named.",
    "DIR"};
inline constexpr Option JobsOption{
    "", "jobs", "Render N documents at once (default: one per core, as memory allows).", "N"};
inline constexpr Option UpdateOption{
    "", "update", "Skip a document whose PDF is newer than it: a batch cut off resumes."};
inline constexpr Option ReportOption{
    "", "report",
    "Write one JSON line per document to FILE as it ends: path, pdf, status (converted, "
    "skipped, failed), reason, pages, seconds.",
    "FILE"};
inline constexpr Option ShardOption{
    "", "shard",
    "Take only share K of N: the documents whose path relative to the path named hashes to K "
    "modulo N (FNV-1a), the same on every machine.",
    "K/N"};
inline constexpr Option TaggedOption{
    "", "tagged", "Write tagged PDF (the document's structure, for screen readers)."};
inline constexpr Option PdfaOption{"", "pdfa", "Write PDF/A-2b, for archives."};
inline constexpr Option QuietOption{"", "quiet", "Print no progress; failures are still reported."};
inline constexpr Option ConvertOptions[] = {ConvertOption, OutputDirOption, JobsOption,
                                            UpdateOption,  ReportOption,    ShardOption,
                                            TaggedOption,  PdfaOption,      QuietOption};

// What the exit status of --convert says.
inline constexpr std::string_view ConvertStatus =
    "With --convert the exit status is 0 when every document was converted or skipped as up "
    "to date, 1 when at least one failed, 2 for a command line that is refused (said before "
    "any work starts), and 130 when the batch was interrupted (SIGINT or SIGTERM): the "
    "document in hand is abandoned and its old PDF kept.";

// The paths after the options. "--" ends the options: every argument after it is a path.
inline constexpr std::string_view PathsName = "paths";
inline constexpr std::string_view PathsDescription =
    "Word documents and folders to queue, in this order. Put -- before a path that begins "
    "with a dash.";

// What the program is, in the manual's one line and in the paragraph of --help.
inline constexpr std::string_view Summary = "convert Word documents to PDF files in batches";
inline constexpr std::string_view Usage =
    "Pendrel converts Word documents (.doc) to PDF files in batches. Its window opens with the "
    "documents and folders named here in its queue; a folder brings every .doc in it and in "
    "all its subfolders. CONVERT TO PDF then gives each document a PDF of the same name "
    "beside it.";

inline constexpr std::size_t HelpWidth = 80;

// The words of text in lines of at most width characters; lines after the first begin with
// indent spaces. A word longer than a line stands alone on its line.
inline std::string WrapText(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out;
    std::size_t column = indent;
    bool lineStarted = false;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::string_view word = text.substr(0, text.find(' '));
        text.remove_prefix(word.size());
        if (lineStarted && column + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStarted = false;
        }
        if (lineStarted) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStarted = true;
    }
    return out;
}

inline std::string OptionNames(const Option& option) {
    std::string names =
        option.shortName.empty() ? "    " : "-" + std::string(option.shortName) + ", ";
    names += "--" + std::string(option.longName);
    if (!option.valueName.empty()) names += " " + std::string(option.valueName);
    return names;
}

inline std::string UsageLine(std::string_view program) {
    return "Usage: " + std::string(program) + " [options] [--] [" + std::string(PathsName) + "...]";
}

inline std::string ConvertUsageLine(std::string_view program) {
    return "       " + std::string(program) + " --convert [options] [--] " +
           std::string(PathsName) + "...";
}

// What --help prints: the usage lines, the paragraph, the options, those of --convert and the
// paths, each description in a column after the longest name, and the exit status of
// --convert.
inline std::string HelpText(std::string_view program) {
    std::size_t nameWidth = PathsName.size();
    auto widen = [&](const Option& option) {
        const std::size_t size = OptionNames(option).size();
        if (size > nameWidth) nameWidth = size;
    };
    for (const Option& option : Options) widen(option);
    for (const Option& option : ConvertOptions) widen(option);
    const std::size_t column = 2 + nameWidth + 2;
    auto entry = [&](const std::string& name, std::string_view description) {
        return "  " + name + std::string(column - 2 - name.size(), ' ') +
               WrapText(description, column, HelpWidth) + "\n";
    };
    std::string text = UsageLine(program) + "\n" + ConvertUsageLine(program) + "\n" +
                       WrapText(Usage, 0, HelpWidth) + "\n\nOptions:\n";
    for (const Option& option : Options) text += entry(OptionNames(option), option.description);
    text += "\nConverting without a window:\n";
    for (const Option& option : ConvertOptions)
        text += entry(OptionNames(option), option.description);
    text += "\nArguments:\n" + entry(std::string(PathsName), PathsDescription);
    text += "\n" + WrapText(ConvertStatus, 0, HelpWidth) + "\n";
    return text;
}

// What --version prints.
inline std::string VersionText(std::string_view product, std::string_view version) {
    return std::string(product) + " " + std::string(version) + "\n";
}

// What a refused command line writes to the error stream.
inline std::string RefusalText(std::string_view program, std::string_view reason) {
    return std::string(program) + ": " + std::string(reason) + "\nTry '" + std::string(program) +
           " --help' for more information.\n";
}

// The exit status of a refused command line.
inline constexpr int RefusedStatus = 2;

// What a command line asks of the program.
enum class Action { OpenWindow, ShowHelp, ShowVersion, Refuse, Convert };

// The status the program ends with when it only answers the command line (Convert: where the
// program cannot convert without a window).
inline constexpr int ExitStatus(Action action) {
    return action == Action::Refuse || action == Action::Convert ? RefusedStatus : 0;
}

}  // namespace pendrel::commandline
