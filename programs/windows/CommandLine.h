#pragma once
// Reads Pendrel.exe's command line by the rules of platform/CommandLineOptions.h, as the Linux
// program does: -h/--help and -v/--version answer without a window, an unknown option is
// refused, "--" ends the options, and every other argument is a path to queue.
#include <string>
#include <vector>

#include "platform/CommandLineOptions.h"
#include "platform/Text.h"

namespace pendrel::programs {

// The name the program goes by in its help and its messages.
inline constexpr const char* ProgramName = "Pendrel.exe";

struct CommandLine {
    using Action = commandline::Action;
    Action action = Action::OpenWindow;
    std::vector<Text> paths;  // to queue, in the order given
    Text reason;              // why the command line was refused
};

// The process's command line split as Windows programs split it (CommandLineToArgvW), the
// program's own name first.
std::vector<Text> ArgumentsOf(const wchar_t* commandLine);

// Options may come anywhere before "--"; one dash takes each letter after it as an option of
// its own ("-hv"), two dashes a whole name. A lone "-" is a path.
CommandLine ReadCommandLine(const std::vector<Text>& arguments);

// What a message box says for a command line the program opens no window for (the help is
// that of --help, laid out for a message box).
Text AnswerText(const CommandLine& line);

}  // namespace pendrel::programs
