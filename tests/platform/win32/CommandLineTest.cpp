// Pendrel.exe's command line, read by the same rules as the Linux program's: help and version,
// options refused with the reason and status 2, and the paths in order, those after "--" too.
// Pendrel.exe's answers in message boxes are checked by PendrelExeProbe.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/CommandLineOptions.h"
#include "programs/windows/CommandLine.h"

namespace pendrel::programs {
namespace {

using Action = CommandLine::Action;

CommandLine Read(std::vector<Text> arguments) {
    arguments.insert(arguments.begin(), "C:\\Pendrel\\Pendrel.exe");
    return ReadCommandLine(arguments);
}

TEST(CommandLine, HelpAndVersionAnswerWhereverTheyStandAndHelpComesFirst) {
    for (const std::vector<Text>& arguments : std::vector<std::vector<Text>>{
             {"--help"}, {"-h"}, {"--h"}, {"a.doc", "--version", "-h"}, {"-vh"}}) {
        const CommandLine line = Read(arguments);
        ASSERT_EQ(line.action, Action::ShowHelp) << arguments.back();
        EXPECT_TRUE(line.paths.empty());
        EXPECT_EQ(AnswerStatus(line), 0);
        const Text text = AnswerText(line);
        EXPECT_EQ(text.rfind("Usage: Pendrel.exe [options] [--] [paths...]\n\n", 0), 0u) << text;
        // Laid out for a message box: paragraphs whole, each description after its name.
        for (const std::string_view part :
             {commandline::Usage, std::string_view("\n-h, --help: Print this help and exit.\n"),
              std::string_view("\n-v, --version: Print the version and exit.\n"),
              std::string_view("\npaths: "), commandline::PathsDescription})
            EXPECT_NE(text.find(part), Text::npos) << part;
    }
    for (const std::vector<Text>& arguments :
         std::vector<std::vector<Text>>{{"--version"}, {"-v"}, {"a.doc", "-v"}, {"--v"}}) {
        const CommandLine line = Read(arguments);
        ASSERT_EQ(line.action, Action::ShowVersion) << arguments.back();
        EXPECT_EQ(AnswerText(line), "Pendrel " PENDREL_VERSION "\n");
        EXPECT_EQ(AnswerStatus(line), 0);
    }
}

TEST(CommandLine, AnUnknownOptionOrAValueIsRefusedWithStatus2) {
    const struct {
        std::vector<Text> arguments;
        Text reason;
    } cases[] = {
        {{"--frobnicate"}, "Unknown option 'frobnicate'."},
        {{"-x"}, "Unknown option 'x'."},
        {{"a.doc", "--bogus", "b.doc"}, "Unknown option 'bogus'."},
        {{"-platform", "xcb"}, "Unknown options: p, l, a, t, f, o, r, m."},
        {{"-hx"}, "Unknown option 'x'."},               // refused, though it asks for help too
        {{"-\xC3\xA9"}, "Unknown option '\xC3\xA9'."},  // é: one letter, not two bytes
        {{"--help=all"}, "Unexpected value after '--help'."},
        {{"--nope", "--version=2"}, "Unexpected value after '--version'."},
    };
    for (const auto& c : cases) {
        const CommandLine line = Read(c.arguments);
        ASSERT_EQ(line.action, Action::Refuse) << c.reason;
        EXPECT_EQ(line.reason, c.reason);
        EXPECT_EQ(AnswerStatus(line), 2);
    }
    EXPECT_EQ(AnswerText(Read({"-x"})),
              "Pendrel.exe: Unknown option 'x'.\nTry 'Pendrel.exe --help' for more information.\n");
}

TEST(CommandLine, PathsKeepTheirOrderAndDashedOnesFollowTheDoubleDash) {
    const CommandLine line =
        Read({"b.doc", "a folder", "-", "--", "-dash.doc", "--help", "-v", "--", "a.doc"});
    EXPECT_EQ(line.action, Action::OpenWindow);
    EXPECT_EQ(line.paths, (std::vector<Text>{"b.doc", "a folder", "-", "-dash.doc", "--help", "-v",
                                             "--", "a.doc"}));
    EXPECT_EQ(Read({}).action, Action::OpenWindow);
    EXPECT_TRUE(Read({}).paths.empty());

    // As Explorer's "Send to" passes them: quoted where they hold spaces.
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Pendrel.exe\" \"C:\\My Docs\\a b.doc\" "
                          L"C:\\R\u00E9port.doc"),
              (std::vector<Text>{"C:\\Program Files\\Pendrel.exe", "C:\\My Docs\\a b.doc",
                                 "C:\\R\xC3\xA9port.doc"}));
}

}  // namespace
}  // namespace pendrel::programs
