#pragma once
// Pendrel's command line, the same on every platform: its options, what --help and --version
// print, and how a refused command line is reported. Each program's parser sets itself up
// from these tables, and the manual page is written from the same text.
#include <cstddef>
#include <string>
#include <string_view>

namespace pendrel::commandline {

struct Option {
    std::string_view shortName;  // after one dash
    std::string_view longName;   // after two dashes
    std::string_view description;
};

inline constexpr Option HelpOption{"h", "help", "Print this help and exit."};
inline constexpr Option VersionOption{"v", "version", "Print the version and exit."};
inline constexpr Option Options[] = {HelpOption, VersionOption};

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
    return "-" + std::string(option.shortName) + ", --" + std::string(option.longName);
}

inline std::string UsageLine(std::string_view program) {
    return "Usage: " + std::string(program) + " [options] [--] [" + std::string(PathsName) + "...]";
}

// What --help prints: the usage line, the paragraph, the options and the paths, each
// description in a column after the longest name.
inline std::string HelpText(std::string_view program) {
    std::size_t nameWidth = PathsName.size();
    for (const Option& option : Options) {
        const std::size_t size = OptionNames(option).size();
        if (size > nameWidth) nameWidth = size;
    }
    const std::size_t column = 2 + nameWidth + 2;
    auto entry = [&](const std::string& name, std::string_view description) {
        return "  " + name + std::string(column - 2 - name.size(), ' ') +
               WrapText(description, column, HelpWidth) + "\n";
    };
    std::string text = UsageLine(program) + "\n" + WrapText(Usage, 0, HelpWidth) + "\n\nOptions:\n";
    for (const Option& option : Options) text += entry(OptionNames(option), option.description);
    text += "\nArguments:\n" + entry(std::string(PathsName), PathsDescription);
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
enum class Action { OpenWindow, ShowHelp, ShowVersion, Refuse };

// The status the program ends with when the command line opens no window.
inline constexpr int ExitStatus(Action action) {
    return action == Action::Refuse ? RefusedStatus : 0;
}

}  // namespace pendrel::commandline
