// Writes pendrel's manual page, pendrel.1, from the text of its --help:
//   pendrel_manpage <output file>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "platform/AppInfo.h"
#include "platform/CommandLineOptions.h"
#include "programs/linux/CommandLine.h"

namespace {

using namespace pendrel::commandline;

// Text as roff reads it: a backslash printed as such, a dash that starts a word (an option)
// as a minus sign, and a line that would read as a request kept as text.
std::string Roff(std::string_view text) {
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
    char previous = ' ';
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && (previous == ' ' || previous == '-'))
            out += "\\-";
        else
            out += c;
        previous = c;
    }
    return out;
}

std::string Bold(std::string_view text) {
    return "\\fB" + Roff(text) + "\\fR";
}
std::string Italic(std::string_view text) {
    return "\\fI" + Roff(text) + "\\fR";
}

std::string OptionEntry(const Option& option) {
    std::string names;
    if (!option.shortName.empty()) names = Bold("-" + std::string(option.shortName)) + ", ";
    names += Bold("--" + std::string(option.longName));
    if (!option.valueName.empty()) names += " " + Italic(option.valueName);
    return ".TP\n" + names + "\n" + Roff(option.description) + "\n";
}

std::string ManPage() {
    const std::string program = pendrel::programs::ProgramName;
    std::string upper = program;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::string page = ".TH " + upper + " 1 \"\" \"" + pendrel::ProductName + " " +
                       PENDREL_VERSION + "\" \"User Commands\"\n";
    page += ".SH NAME\n" + program + " \\- " + Roff(Summary) + "\n";
    page += ".SH SYNOPSIS\n.B " + program + "\n[" + Italic("options") + "] [" + Bold("--") + "] [" +
            Italic(PathsName) + "...]\n.br\n.B " + program + "\n" + Bold("--convert") + " [" +
            Italic("options") + "] [" + Bold("--") + "] " + Italic(PathsName) + "...\n";
    page += ".SH DESCRIPTION\n" + Roff(Usage) + "\n";
    page += ".SH OPTIONS\n";
    for (const Option& option : Options) page += OptionEntry(option);
    page += ".SS Converting without a window\n";
    for (const Option& option : ConvertOptions) page += OptionEntry(option);
    page += ".SH ARGUMENTS\n.TP\n" + Italic(PathsName) + "\n" + Roff(PathsDescription) + "\n";
    page += ".SH EXIT STATUS\n" + Roff(ConvertStatus) + "\n";
    return page;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: pendrel_manpage <output file>\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << ManPage();
    out.close();
    if (!out) {
        std::cerr << "pendrel_manpage: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
