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
    QStringList names;
    if (!option.shortName.empty()) names.append(FromView(option.shortName));
    names.append(FromView(option.longName));
    return QCommandLineOption(names, FromView(option.description), FromView(option.valueName));
}

bool IsSet(const QCommandLineParser& parser, const commandline::Option& option) {
    return parser.isSet(FromView(option.longName));
}

QString Value(const QCommandLineParser& parser, const commandline::Option& option) {
    return parser.value(FromView(option.longName));
}

// The options of --convert, checked; the reason when one is refused.
QString ReadConvertOptions(const QCommandLineParser& parser, ConvertRequest& request) {
    request.outputDir = Value(parser, commandline::OutputDirOption);
    if (IsSet(parser, commandline::OutputDirOption) && request.outputDir.isEmpty())
        return QStringLiteral("--output-dir needs a folder.");
    if (IsSet(parser, commandline::JobsOption)) {
        bool number = false;
        request.jobs = Value(parser, commandline::JobsOption).toUInt(&number);
        if (!number || request.jobs == 0 || request.jobs > MostJobs)
            return QStringLiteral("--jobs takes a whole number from 1 to %1.").arg(MostJobs);
    }
    request.update = IsSet(parser, commandline::UpdateOption);
    request.report = Value(parser, commandline::ReportOption);
    if (IsSet(parser, commandline::ReportOption) && request.report.isEmpty())
        return QStringLiteral("--report needs a file.");
    if (IsSet(parser, commandline::ShardOption)) {
        const auto shard = batch::ParseShard(Value(parser, commandline::ShardOption).toStdString());
        if (!shard)
            return QStringLiteral("--shard takes K/N with 0 <= K < N, such as 0/4 (not '%1').")
                .arg(Value(parser, commandline::ShardOption));
        request.shard = *shard;
    }
    request.tagged = IsSet(parser, commandline::TaggedOption);
    request.pdfa = IsSet(parser, commandline::PdfaOption);
    request.quiet = IsSet(parser, commandline::QuietOption);
    return {};
}

// The first option of --convert given without it.
QString ConvertOptionWithout(const QCommandLineParser& parser) {
    for (const commandline::Option& option : commandline::ConvertOptions)
        if (option.longName != commandline::ConvertOption.longName && IsSet(parser, option))
            return QStringLiteral("--%1 is an option of --convert.").arg(FromView(option.longName));
    return {};
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
    for (const commandline::Option& option : commandline::ConvertOptions)
        parser.addOption(OptionOf(option));
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
    } else if (IsSet(parser, commandline::ConvertOption)) {
        line.action = CommandLine::Action::Convert;
        line.paths = parser.positionalArguments();
        line.reason = ReadConvertOptions(parser, line.convert);
        if (line.reason.isEmpty() && line.paths.isEmpty())
            line.reason = QStringLiteral("--convert needs at least one document or folder.");
    } else {
        line.paths = parser.positionalArguments();
        line.reason = ConvertOptionWithout(parser);
    }
    if (!line.reason.isEmpty()) {
        line.action = CommandLine::Action::Refuse;
        line.paths.clear();
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
        case CommandLine::Action::Convert:
            break;
    }
    return {};
}

}  // namespace pendrel::programs
