#include "programs/linux/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "platform/AppInfo.h"
#include "platform/CommandLineOptions.h"

namespace pendrel::programs {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QCommandLineOption OptionOf(const commandline::Option& option) {
    return QCommandLineOption({FromView(option.shortName), FromView(option.longName)},
                              FromView(option.description));
}

}  // namespace

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

CommandLine ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help = OptionOf(commandline::HelpOption);
    const QCommandLineOption version = OptionOf(commandline::VersionOption);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(FromView(commandline::PathsName),
                                 FromView(commandline::PathsDescription));

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Refuse;
        line.reason = parser.errorText();
    } else if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::ShowVersion;
    } else {
        line.paths = parser.positionalArguments();
    }
    return line;
}

std::vector<std::string> PathBytes(const CommandLine& line, int argc, char* argv[]) {
    const QStringList arguments = ArgumentsOf(argc, argv);
    std::vector<std::string> bytes;
    int next = 1;  // the paths come in the order of the arguments they were read from
    for (const QString& path : line.paths) {
        while (next < argc && arguments[next] != path) ++next;
        bytes.push_back(next < argc ? argv[next++] : path.toStdString());
    }
    return bytes;
}

std::string AnswerText(const CommandLine& line) {
    switch (line.action) {
        case CommandLine::Action::ShowHelp:
            return commandline::HelpText(ProgramName);
        case CommandLine::Action::ShowVersion:
            return commandline::VersionText(ProductName, PENDREL_VERSION);
        case CommandLine::Action::Refuse:
            return commandline::RefusalText(ProgramName, line.reason.toStdString());
        case CommandLine::Action::OpenWindow:
            break;
    }
    return {};
}

}  // namespace pendrel::programs
