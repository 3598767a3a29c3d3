// pendrel's command line, through the built program: --help and --version answer without a
// display, an unknown option is refused with status 2, and the paths (those after "--" too)
// reach the queue in the order given.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

// The environment of a run: a cache of its own, and no display at all unless the test gives
// one. A window attempted on the platform named here makes the toolkit end the program.
QProcessEnvironment Environment(const QString& home, const QString& platform = "no-display") {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    return env;
}

Outcome Run(const QStringList& arguments, const QString& home) {
    QProcess pendrel;
    pendrel.setProcessEnvironment(Environment(home));
    pendrel.start(QStringLiteral(PENDREL_PROGRAM), arguments);
    Outcome outcome;
    if (!pendrel.waitForFinished(30000)) {
        pendrel.kill();
        pendrel.waitForFinished();
        return outcome;
    }
    outcome.out = QString::fromUtf8(pendrel.readAllStandardOutput());
    outcome.err = QString::fromUtf8(pendrel.readAllStandardError());
    if (pendrel.exitStatus() == QProcess::NormalExit) outcome.status = pendrel.exitCode();
    return outcome;
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(home_.isValid()); }

    // --help and --version answer on stdout without a display, whatever else is given.
    void helpAndVersionAnswerWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");  // the answer, or for --help how it starts
        const QString usage = "Usage: pendrel [options] [--] [paths...]\n";
        const QString version = "Pendrel " PENDREL_VERSION "\n";
        QTest::newRow("--help") << QStringList{"--help"} << usage;
        QTest::newRow("-h after paths, --version")
            << QStringList{"a.doc", "--version", "-h"} << usage;
        QTest::newRow("--version") << QStringList{"--version"} << version;
        QTest::newRow("-v after a path") << QStringList{"a.doc", "-v"} << version;
    }
    void helpAndVersionAnswerWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        const Outcome outcome = Run(arguments, home_.path());
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err, QString());
        if (!out.startsWith("Usage")) {
            QCOMPARE(outcome.out, out);
            return;
        }
        QVERIFY2(outcome.out.startsWith(out), qPrintable(outcome.out));
        for (const char* expected : {"\n  -h, --help ", "\n  -v, --version ", "\n  paths ",
                                     "Word documents (.doc) to PDF"})
            QVERIFY2(outcome.out.contains(expected), expected);
        for (const QString& line : outcome.out.split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    void anUnknownOptionIsRefusedWithStatus2_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("long") << QStringList{"--frobnicate"} << "frobnicate";
        QTest::newRow("short") << QStringList{"-x"} << "'x'";
        QTest::newRow("after paths") << QStringList{"a.doc", "--bogus", "b.doc"} << "bogus";
        QTest::newRow("a toolkit option") << QStringList{"-platform", "xcb"} << "p, l, a";
        QTest::newRow("a value to help") << QStringList{"--help=all"} << "help";
    }
    void anUnknownOptionIsRefusedWithStatus2() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const Outcome outcome = Run(arguments, home_.path());
        QCOMPARE(outcome.status, 2);
        QCOMPARE(outcome.out, QString());
        QVERIFY2(outcome.err.startsWith("pendrel: "), qPrintable(outcome.err));
        QVERIFY2(outcome.err.contains(named), qPrintable(outcome.err));
        QVERIFY2(outcome.err.contains("Try 'pendrel --help'"), qPrintable(outcome.err));
    }

    // The window opens (offscreen) and the paths go to the queue as given, byte for byte and
    // in order; a path after "--" is a path whatever it looks like. None of them exists, so no
    // engine starts.
    void pathsReachTheQueueInOrderAndDashPathsAfterTheDoubleDash() {
        const QByteArrayList paths{"b.doc", "a folder",    "-dash.doc", "--help",
                                   "-v",    "caf\xE9.doc", "a.doc"};
        // A name that is not UTF-8 cannot go through QProcess's arguments: the shell makes it.
        const QString script = QStringLiteral(
            R"sh(exec "$0" b.doc "a folder" -- -dash.doc --help -v "$(printf 'caf\351.doc')" )sh"
            "a.doc");
        const QStringList arguments{"-c", script, PENDREL_PROGRAM};
        QProcess pendrel;
        QProcessEnvironment env = Environment(home_.path(), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"),
                   QStringLiteral("pendrel.commandline.info=true"));
        pendrel.setProcessEnvironment(env);
        pendrel.setWorkingDirectory(home_.path());
        pendrel.start(QStringLiteral("/bin/sh"), arguments);
        QVERIFY(pendrel.waitForStarted());

        QByteArrayList queued;
        QByteArray err;
        QElapsedTimer clock;
        clock.start();
        while (queued.size() < paths.size() && clock.elapsed() < 30000 &&
               pendrel.state() == QProcess::Running) {
            pendrel.waitForReadyRead(200);
            err += pendrel.readAllStandardError();
            queued.clear();
            for (const QByteArray& line : err.split('\n'))
                if (line.startsWith("pendrel.commandline: queue: ")) queued << line.mid(28);
        }
        const bool running = pendrel.state() == QProcess::Running;
        pendrel.terminate();
        if (!pendrel.waitForFinished(10000)) {
            pendrel.kill();
            pendrel.waitForFinished();
        }
        QVERIFY2(running, err.constData());
        QCOMPARE(queued, paths);
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
