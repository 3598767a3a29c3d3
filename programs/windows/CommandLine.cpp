#include "programs/windows/CommandLine.h"

#include "platform/win32/Win32Api.h"

#include <shellapi.h>

#include <string_view>

#include "platform/AppInfo.h"
#include "platform/CommandLineOptions.h"
#include "platform/text/Utf8.h"
#include "platform/win32/WideText.h"

namespace pendrel::programs {
namespace {

const commandline::Option* OptionNamed(std::string_view name) {
    for (const commandline::Option& option : commandline::Options)
        if (name == option.shortName || name == option.longName) return &option;
    return nullptr;
}

// What the message box says to --convert.
constexpr const char* ConvertNeedsLinux =
    "Converting without a window (--convert) needs Pendrel's Linux engine. On Windows, "
    "Pendrel prints each document through Microsoft Word, which needs the desktop and the PDF "
    "printer's \"Save As\" dialog: open Pendrel.exe without --convert, queue the documents and "
    "click CONVERT TO PDF.";

// The reason given for options nobody knows, as the Linux program words it.
Text UnknownOptions(const std::vector<Text>& names) {
    if (names.size() == 1) return "Unknown option '" + names.front() + "'.";
    Text list;
    for (const Text& name : names) list += (list.empty() ? "" : ", ") + name;
    return "Unknown options: " + list + ".";
}

// The help of --help laid out for a message box, whose font is proportional and which wraps
// long lines itself: the paragraphs unwrapped, each description after its name and a colon, as
// no columns would line up.
Text HelpForMessageBox() {
    Text text =
        commandline::UsageLine(ProgramName) + "\n\n" + Text(commandline::Usage) + "\n\nOptions:\n";
    for (const commandline::Option& option : commandline::Options)
        text += commandline::OptionNames(option) + ": " + Text(option.description) + "\n";
    text += "\nArguments:\n" + Text(commandline::PathsName) + ": " +
            Text(commandline::PathsDescription) + "\n";
    return text;
}

}  // namespace

std::vector<Text> ArgumentsOf(const wchar_t* commandLine) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    std::vector<Text> result;
    for (int i = 0; arguments && i < count; ++i) result.push_back(win32::Narrow(arguments[i]));
    LocalFree(arguments);
    return result;
}

CommandLine ReadCommandLine(const std::vector<Text>& arguments) {
    CommandLine line;
    bool help = false, version = false, convert = false, optionsEnded = false;
    std::vector<Text> unknown;
    Text unexpectedValue;
    const auto take = [&](const commandline::Option& option) {
        if (option.longName == commandline::HelpOption.longName) help = true;
        if (option.longName == commandline::VersionOption.longName) version = true;
    };
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            line.paths.push_back(arguments[i]);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            const std::string_view name = argument.substr(2, equals - 2);
            const commandline::Option* option = OptionNamed(name);
            if (name == commandline::ConvertOption.longName) {
                convert = true;
            } else if (!option) {
                unknown.emplace_back(name);
            } else if (equals != std::string_view::npos) {
                // The options take no value.
                if (unexpectedValue.empty())
                    unexpectedValue =
                        "Unexpected value after '" + Text(argument.substr(0, equals)) + "'.";
            } else {
                take(*option);
            }
        } else {
            for (std::size_t at = 1; at < argument.size();) {
                const std::size_t length = Utf8::Decode(argument, at).length;
                const std::string_view letter = argument.substr(at, length);
                if (const commandline::Option* option = OptionNamed(letter)) {
                    take(*option);
                } else {
                    unknown.emplace_back(letter);
                }
                at += length;
            }
        }
    }
    if (convert) {
        // Whatever else is given: the answer is the same, and nothing is converted.
        line.action = CommandLine::Action::Convert;
        line.paths.clear();
    } else if (!unexpectedValue.empty() || !unknown.empty()) {
        line.action = CommandLine::Action::Refuse;
        line.reason = !unexpectedValue.empty() ? unexpectedValue : UnknownOptions(unknown);
        line.paths.clear();
    } else if (help) {
        line.action = CommandLine::Action::ShowHelp;
        line.paths.clear();
    } else if (version) {
        line.action = CommandLine::Action::ShowVersion;
        line.paths.clear();
    }
    return line;
}

Text AnswerText(const CommandLine& line) {
    switch (line.action) {
        case CommandLine::Action::ShowHelp:
            return HelpForMessageBox();
        case CommandLine::Action::ShowVersion:
            return commandline::VersionText(ProductName, PENDREL_VERSION);
        case CommandLine::Action::Refuse:
            return commandline::RefusalText(ProgramName, line.reason);
        case CommandLine::Action::Convert:
            return ConvertNeedsLinux;
        case CommandLine::Action::OpenWindow:
            break;
    }
    return {};
}

}  // namespace pendrel::programs
