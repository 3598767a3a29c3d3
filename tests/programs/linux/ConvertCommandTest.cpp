// pendrel --convert through the built program, with no display at all (no DISPLAY, no
// Wayland, no toolkit platform named): a generated tree end to end, --update, two shards under
// GNU parallel, SIGINT in the middle of a batch, tagged PDF and PDF/A, and refused command
// lines.
#include <signal.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "tests/support/TestDocuments.h"

namespace {

namespace fs = std::filesystem;
using pendrel::testing::BadDocuments;
using pendrel::testing::DocumentPath;

using Report = QMap<QString, QJsonObject>;  // by path

struct Outcome {
    int status = -1;
    QString err;
    Report report;
    int reportLines = 0;
    qint64 milliseconds = 0;
};

QProcessEnvironment Environment(const QString& temporary) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), QStringLiteral(PENDREL_CONVERT_CACHE));
    env.insert(QStringLiteral("TMPDIR"), temporary);
    return env;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void CopyTo(const std::string& document, const fs::path& target) {
    fs::create_directories(target.parent_path());
    fs::copy_file(DocumentPath(document), target, fs::copy_options::overwrite_existing);
}

// Every line of the report must be one JSON object.
void ReadReport(const QString& path, Outcome& outcome) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        ++outcome.reportLines;
        const QJsonDocument json = QJsonDocument::fromJson(line);
        QVERIFY2(json.isObject(), line.constData());
        outcome.report[json.object().value("path").toString()] = json.object();
    }
}

QString Text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

std::set<std::string> PdfsUnder(const fs::path& root) {
    std::set<std::string> pdfs;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().extension() == ".pdf")
            pdfs.insert(fs::relative(entry.path(), root).string());
    return pdfs;
}

QString Pdfinfo(const QStringList& arguments) {
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), arguments);
    pdfinfo.waitForFinished(30000);
    return QString::fromUtf8(pdfinfo.readAllStandardOutput());
}

}  // namespace

class ConvertCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    fs::path root_;
    QString temporary_;

    Outcome Convert(const QStringList& arguments, const QString& report = {}) {
        QProcess pendrel;
        pendrel.setProcessEnvironment(Environment(temporary_));
        QElapsedTimer clock;
        clock.start();
        pendrel.start(QStringLiteral(PENDREL_PROGRAM), arguments);
        Outcome outcome;
        if (!pendrel.waitForFinished(280000)) pendrel.kill();
        pendrel.waitForFinished();
        outcome.milliseconds = clock.elapsed();
        outcome.err = QString::fromUtf8(pendrel.readAllStandardError());
        if (pendrel.exitStatus() == QProcess::NormalExit) outcome.status = pendrel.exitCode();
        if (!report.isEmpty()) ReadReport(report, outcome);
        return outcome;
    }

    void CheckNothingLeftBehind() {
        // The spool and the helpers' folders go with the program.
        QCOMPARE(QDir(temporary_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        root_ = fs::path(dir_.path().toStdString()) / QTest::currentTestFunction();
        temporary_ = Text(root_ / "tmp");
        fs::create_directories(root_ / "tmp");
    }

    void cleanup() {
        // QDir cannot remove a name that is not UTF-8.
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // Good, failing, nested, hidden, "~" and oddly named documents, and a path that is not there.
    void convertsATreeAndReportsEveryDocument() {
        const fs::path tree = root_ / "tree";
        CopyTo("text", tree / "text.doc");
        CopyTo("table", tree / "nested" / "deeper" / "table.doc");
        CopyTo("pages", tree / "odd \"name\" \xC3\xBC #1.doc");
        CopyTo("text", tree / "caf\xE9.doc");
        CopyTo("text", tree / "~$lock.doc");
        CopyTo("text", tree / ".hidden" / "hidden.doc");
        for (const auto& bad : BadDocuments())
            if (bad.name == "locked.doc") Write(tree / "locked.doc", bad.bytes);
        const QString report = Text(root_ / "report.json");
        const Outcome outcome = Convert(
            {"--convert", "--report", report, Text(tree), Text(root_ / "missing.doc")}, report);

        QCOMPARE(outcome.status, 1);
        QCOMPARE(PdfsUnder(tree), (std::set<std::string>{"text.pdf", "nested/deeper/table.pdf",
                                                         "odd \"name\" \xC3\xBC #1.pdf"}));
        QCOMPARE(outcome.reportLines, 6);
        const auto line = [&](const fs::path& path) { return outcome.report.value(Text(path)); };
        const QJsonObject text = line(tree / "text.doc");
        QCOMPARE(text.value("status").toString(), "converted");
        QCOMPARE(text.value("pdf").toString(), Text(tree / "text.pdf"));
        QCOMPARE(text.value("pages").toInt(), 1);
        QVERIFY(text.value("reason").isNull());
        QVERIFY(text.value("seconds").isDouble());
        QCOMPARE(line(tree / "odd \"name\" \xC3\xBC #1.doc").value("pages").toInt(), 12);
        QCOMPARE(line(tree / "nested/deeper/table.doc").value("status").toString(), "converted");
        const QJsonObject locked = line(tree / "locked.doc");
        QCOMPARE(locked.value("status").toString(), "failed");
        QCOMPARE(locked.value("reason").toString(),
                 "Error 5408: The document is protected with a password and cannot be opened.");
        QVERIFY(locked.value("pdf").isNull());
        const QJsonObject cafe = outcome.report.value(Text(tree) + "/caf\\xE9.doc");
        QCOMPARE(cafe.value("status").toString(), "failed");
        QVERIFY(cafe.value("reason").toString().contains("its name is not valid text"));
        QVERIFY(cafe.value("path_bytes").toString().endsWith("636166e92e646f63"));
        QCOMPARE(line(root_ / "missing.doc").value("reason").toString(),
                 "Error 53: It was not found.");
        // Failures on the error stream, in the same words.
        QVERIFY2(outcome.err.contains(Text(tree / "locked.doc") + ": Error 5408: The document is "
                                                                  "protected with a password"),
                 qPrintable(outcome.err));
        // Untagged unless asked for.
        QVERIFY(Pdfinfo({Text(tree / "text.pdf")}).contains(QRegularExpression("Tagged: +no")));
        CheckNothingLeftBehind();
    }

    // Up-to-date documents are skipped; one touched since is converted again.
    void updateSkipsWhatIsUpToDate() {
        const fs::path tree = root_ / "tree";
        CopyTo("text", tree / "a.doc");
        CopyTo("table", tree / "b.doc");
        const QString report = Text(root_ / "report.json");
        const QStringList arguments{"--convert", "--update", "--report", report, Text(tree)};
        const Outcome first = Convert(arguments, report);
        QCOMPARE(first.status, 0);
        QCOMPARE(first.report.value(Text(tree / "b.doc")).value("status").toString(), "converted");
        const auto written = fs::last_write_time(tree / "a.pdf");

        const Outcome second = Convert(arguments, report);
        QCOMPARE(second.status, 0);
        for (const char* name : {"a.doc", "b.doc"})
            QCOMPARE(second.report.value(Text(tree / name)).value("status").toString(), "skipped");
        QCOMPARE(fs::last_write_time(tree / "a.pdf"), written);

        fs::last_write_time(tree / "b.doc",
                            fs::file_time_type::clock::now() + std::chrono::seconds(5));
        const Outcome third = Convert(arguments, report);
        QCOMPARE(third.status, 0);
        QCOMPARE(third.report.value(Text(tree / "a.doc")).value("status").toString(), "skipped");
        QCOMPARE(third.report.value(Text(tree / "b.doc")).value("status").toString(), "converted");
        QCOMPARE(fs::last_write_time(tree / "a.pdf"), written);
    }

    // Two shards on one machine under GNU parallel: every PDF written once, each by its shard.
    void twoShardsUnderGnuParallelConvertEachDocumentOnce() {
        const fs::path tree = root_ / "tree";
        std::set<std::string> documents;
        for (int i = 0; i < 8; ++i) {
            const std::string relative =
                "part " + std::to_string(i % 3) + "/doc " + std::to_string(i) + ".doc";
            CopyTo("text", tree / relative);
            documents.insert(relative);
        }
        QProcess parallel;
        parallel.setProcessEnvironment(Environment(temporary_));
        parallel.start("parallel",
                       {"--will-cite", PENDREL_PROGRAM, "--convert", "--quiet", "--shard", "{}/2",
                        "--report", Text(root_ / "report-{}.json"), Text(tree), ":::", "0", "1"});
        QVERIFY2(parallel.waitForFinished(280000), "GNU parallel (scripts/setup.sh installs it)");
        QCOMPARE(parallel.exitCode(), 0);

        std::set<std::string> converted;
        for (int k = 0; k < 2; ++k) {
            Outcome shard;
            ReadReport(Text(root_ / ("report-" + std::to_string(k) + ".json")), shard);
            for (auto each = shard.report.cbegin(); each != shard.report.cend(); ++each) {
                const QString& path = each.key();
                const QJsonObject& line = each.value();
                QCOMPARE(line.value("status").toString(), "converted");
                const std::string relative = fs::relative(path.toStdString(), tree).string();
                // FNV-1a 64 of the path relative to the folder named, modulo 2.
                std::uint64_t hash = 0xcbf29ce484222325ull;
                for (const char c : relative)
                    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
                QCOMPARE(hash % 2, static_cast<std::uint64_t>(k));
                QVERIFY2(converted.insert(relative).second, relative.c_str());
            }
        }
        QCOMPARE(converted, documents);
        QCOMPARE(PdfsUnder(tree).size(), documents.size());
    }

    // SIGINT while a long document renders: it is abandoned, old PDFs stay, helpers end, and
    // the report holds what was done.
    void sigintStopsWithinSecondsAndKeepsOldPdfs() {
        const fs::path tree = root_ / "tree";
        CopyTo("text", tree / "a.doc");
        CopyTo("huge", tree / "b.doc");
        CopyTo("text", tree / "c.doc");
        for (const char* name : {"a", "b", "c"})
            Write(tree / (std::string(name) + ".pdf"), std::string("%PDF-old ") + name);
        const QString report = Text(root_ / "report.json");
        QProcess pendrel;
        pendrel.setProcessEnvironment(Environment(temporary_));
        pendrel.start(PENDREL_PROGRAM,
                      {"--convert", "--jobs", "1", "--report", report, Text(tree)});
        QVERIFY(pendrel.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile(report).size() > 0, 120000);
        QTest::qWait(1500);  // well into the long document
        // No window system: no toolkit platform plugin was ever loaded.
        const std::string maps = Read("/proc/" + std::to_string(pendrel.processId()) + "/maps");
        QVERIFY(!maps.empty());
        QVERIFY(maps.find("/platforms/") == std::string::npos);
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(pendrel.processId()), SIGINT);
        QVERIFY(pendrel.waitForFinished(15000));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(pendrel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(pendrel.exitCode(), 130);

        Outcome outcome;
        ReadReport(report, outcome);
        QCOMPARE(outcome.reportLines, 1);
        QCOMPARE(outcome.report.value(Text(tree / "a.doc")).value("status").toString(),
                 "converted");
        QVERIFY(Read(tree / "a.pdf").starts_with("%PDF"));
        QCOMPARE(Read(tree / "b.pdf"), "%PDF-old b");
        QCOMPARE(Read(tree / "c.pdf"), "%PDF-old c");
        QCOMPARE(PdfsUnder(tree), (std::set<std::string>{"a.pdf", "b.pdf", "c.pdf"}));
        QVERIFY(!fs::exists(tree / ".b.pdf.pendrel-old"));
        CheckNothingLeftBehind();
    }

    // --tagged and --pdfa under --output-dir: the PDF says so, and nothing is written beside
    // the document.
    void taggedPdfaUnderAnOutputFolder() {
        const fs::path tree = root_ / "tree", out = root_ / "out";
        CopyTo("text", tree / "sub" / "text.doc");
        const Outcome outcome = Convert(
            {"--convert", "--tagged", "--pdfa", "--quiet", "--output-dir", Text(out), Text(tree)});
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err, QString());
        QCOMPARE(PdfsUnder(out), std::set<std::string>{"sub/text.pdf"});
        QCOMPARE(PdfsUnder(tree), std::set<std::string>{});
        const QString pdf = Text(out / "sub" / "text.pdf");
        QVERIFY(Pdfinfo({pdf}).contains(QRegularExpression("Tagged: +yes")));
        const QString xmp = Pdfinfo({"-meta", pdf});
        QVERIFY2(xmp.contains(QRegularExpression("pdfaid:part[>=\"]+2")), qPrintable(xmp));
        QVERIFY2(xmp.contains(QRegularExpression("pdfaid:conformance[>=\"]+B")), qPrintable(xmp));
    }

    // Refused at once with status 2, before any work: nothing written, no engine started.
    void usageErrorsAreRefusedBeforeAnyWork_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("no paths") << QStringList{"--convert"} << "needs at least one";
        QTest::newRow("jobs 0") << QStringList{"--convert", "--jobs", "0", "TREE"}
                                << "--jobs takes";
        QTest::newRow("jobs x") << QStringList{"--convert", "--jobs=x", "TREE"} << "--jobs takes";
        QTest::newRow("shard 2/2")
            << QStringList{"--convert", "--shard", "2/2", "TREE"} << "--shard takes K/N";
        QTest::newRow("shard 1") << QStringList{"--convert", "--shard", "1", "TREE"}
                                 << "--shard takes K/N";
        QTest::newRow("no --convert")
            << QStringList{"--update", "TREE"} << "--update is an option of --convert";
        QTest::newRow("unknown") << QStringList{"--convert", "--bogus", "TREE"}
                                 << "Unknown option 'bogus'";
        QTest::newRow("output-dir") << QStringList{"--convert", "--output-dir", "/proc/out", "TREE"}
                                    << "--output-dir: /proc/out";
        QTest::newRow("report") << QStringList{"--convert", "--report", "/proc/r.json", "TREE"}
                                << "--report: /proc/r.json";
    }
    void usageErrorsAreRefusedBeforeAnyWork() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        const fs::path tree = root_ / "tree";
        CopyTo("text", tree / "a.doc");
        arguments.replaceInStrings("TREE", Text(tree));
        const Outcome outcome = Convert(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.err.startsWith("pendrel: ") && outcome.err.contains(says),
                 qPrintable(outcome.err));
        QVERIFY(outcome.milliseconds < 5000);
        QCOMPARE(PdfsUnder(tree), std::set<std::string>{});
        CheckNothingLeftBehind();
    }
};

QTEST_GUILESS_MAIN(ConvertCommandTest)
#include "ConvertCommandTest.moc"
