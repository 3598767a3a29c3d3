// The dialogs, message boxes, the launcher's progress, the event pump, ending the program and
// reading pointer files, for real where the test can answer.
#include <QApplication>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/qt/CursorFile.h"
#include "platform/qt/LauncherProgress.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgram.h"
#include "tests/platform/qt/CursorFileWriter.h"

using namespace pendrel;
using namespace std::chrono_literals;

namespace {

// Acts on the next modal dialog of the given kind as soon as it is up.
template <typename Dialog>
void WhenShown(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start(10);
}

QStringList ShownNames(QFileDialog& dialog) {
    QStringList names;
    if (auto* view = dialog.findChild<QListView*>(QStringLiteral("listView")))
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
    names.sort();
    return names;
}

}  // namespace

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    void fileNameHasItsThreeShapes() {
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        const std::vector<std::pair<QStringList, std::string>> cases{
            {{}, ""},
            {{"/home/u/My Docs/Report One.doc"}, "/home/u/My Docs/Report One.doc"},
            {{"/a.doc", "/b c.doc"}, std::string("/\0a.doc\0b c.doc", 15)},
            {{"/d/a.doc", "/d/B.DOC", "/d/c.txt"}, std::string("/d\0a.doc\0B.DOC\0c.txt", 20)},
        };
        for (const auto& [picked, expected] : cases) {
            dialog.setNextFileNames(picked);
            dialog.ShowOpen();
            QCOMPARE(QByteArray::fromStdString(dialog.FileName()),
                     QByteArray::fromStdString(expected));
        }
    }

    void dialogsAreModalFilterWithoutCaseAndCancelGivesNothing() {
        QTemporaryDir folder;
        for (const char* name : {"a.doc", "REPORT.DOC", "Mixed.Doc", "notes.txt", "Report.docx"})
            QFile(folder.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        dialog.SetFlags(0x280201);
        dialog.SetDialogTitle("Add File(s) - Use Ctrl & Shift to select multiple files");
        dialog.SetFilter("Word Documents (*.doc)|*.doc|");

        QStringList seen;
        WhenShown<QFileDialog>([&](QFileDialog* shown) {
            seen << shown->windowTitle() << QString::number(shown->fileMode());
            shown->setDirectory(folder.path());
            shown->selectFile(folder.filePath(QStringLiteral("a.doc")));
            static_cast<QDialog*>(shown)->accept();
        });
        dialog.ShowOpen();
        QCOMPARE(dialog.FileName(), folder.filePath(QStringLiteral("a.doc")).toStdString());
        WhenShown<QFileDialog>([](QFileDialog* shown) { shown->reject(); });
        dialog.ShowOpen();
        QCOMPARE(dialog.FileName(), std::string());

        auto made = dialog.MakeDialog();  // the filter shows documents whatever their case
        made->setDirectory(folder.path());
        made->show();
        QTRY_COMPARE(ShownNames(*made), (QStringList{"Mixed.Doc", "REPORT.DOC", "a.doc"}));
        made.reset();

        qt::QtFolderBrowser browser(&owner);
        WhenShown<QFileDialog>([&](QFileDialog* shown) {
            seen << shown->windowTitle() << QString::number(shown->fileMode());
            shown->reject();
        });
        QCOMPARE(browser.Browse(1, "Please select folder to add:"), std::string());
        QCOMPARE(
            seen,
            (QStringList{"Add File(s) - Use Ctrl & Shift to select multiple files",
                         QString::number(QFileDialog::ExistingFiles),
                         "Please select folder to add:", QString::number(QFileDialog::Directory)}));
    }

    void messageBoxShowsTitleAndTextWithOnlyOk() {
        QWidget owner;
        qt::QtMessageBoxes boxes(&owner);
        QStringList seen;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            seen = {box->windowTitle(), box->text(), QString::number(box->buttons().size())};
            box->accept();
        });
        boxes.Show("Document skipped.", "Quarrendon");
        QCOMPARE(seen, (QStringList{"Quarrendon", "Document skipped.", "1"}));
    }

    void launcherProgressSendsEachStepInOrderThenClears() {
        qt::LauncherProgress progress(QStringLiteral("io.github.pendrel.Pendrel"));
        QStringList sent;
        progress.sendForTests = [&](const QString& appUri, const QVariantMap& p) {
            QCOMPARE(appUri, QStringLiteral("application://io.github.pendrel.Pendrel.desktop"));
            QStringList values;
            for (const char* key :
                 {"progress", "progress-visible", "count", "count-visible", "urgent"})
                values << (p.contains(key) ? p[key].toString() : QStringLiteral("-"));
            sent << values.join(' ');
        };
        progress.Show(0, 4, false);
        progress.Show(3, 4, true);
        progress.Show(4, 4, true);
        progress.Clear();
        QCOMPARE(sent, (QStringList{"0 true 4 true false", "0.75 true 1 true true",
                                    "1 true 0 false true", "- false - false false"}));
    }

    void eventPumpSleepsHandlesEventsAndWakesEarly() {
        qt::QtEventPump pump;
        bool handled = false;
        QTimer::singleShot(30ms, [&] { handled = true; });
        QElapsedTimer wall;
        wall.start();
        const std::clock_t cpuBefore = std::clock();
        pump.ProcessPendingMessages(300ms);
        const double cpuMs = 1000.0 * double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        QVERIFY(handled);
        QVERIFY(wall.elapsed() >= 290);
        QVERIFY2(cpuMs < 100.0, qPrintable(QString::number(cpuMs)));  // asleep, not spinning

        std::thread waker([&pump] {
            std::this_thread::sleep_for(30ms);
            pump.Wake();
        });
        wall.restart();
        pump.ProcessPendingMessages(5000ms);
        waker.join();
        QVERIFY2(wall.elapsed() < 2000, qPrintable(QString::number(wall.elapsed())));

        pump.Wake();  // a wake before the wait ends the next wait at once
        wall.restart();
        pump.ProcessPendingMessages(5000ms);
        QVERIFY(wall.elapsed() < 2000);
    }

    void endRunsTheHooksFlushesAndEndsAtOnce() {
        QTemporaryDir folder;
        const std::string output = folder.filePath(QStringLiteral("stdout")).toStdString();
        const std::string mark = folder.filePath(QStringLiteral("hook-ran")).toStdString();
        const pid_t child = fork();
        if (child == 0) {
            std::freopen(output.c_str(), "w", stdout);
            std::printf("still in the buffer");
            qt::QtProgram program;
            program.AddShutdownHook([] { throw std::runtime_error("a failing hook"); });
            program.AddShutdownHook([&] { std::fclose(std::fopen(mark.c_str(), "w")); });
            // Ends from inside a nested event loop, as a close during a conversion does.
            QTimer::singleShot(0, [&] { program.End(); });
            QEventLoop().exec();
            std::_Exit(3);  // End came back
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFile::exists(QString::fromStdString(mark)));
        QFile written(QString::fromStdString(output));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("still in the buffer"));
    }

    void pointerFilesKeepPixelsTransparencyAndHotSpot() {
        // Left half transparent, right half black but for a white pixel in the top row.
        QImage source(32, 32, QImage::Format_ARGB32);
        source.fill(qRgba(0, 0, 0, 0));
        for (int x = 16; x < 32; ++x)
            for (int y = 0; y < 32; ++y) source.setPixel(x, y, qRgb(0, 0, 0));
        source.setPixel(20, 0, qRgb(255, 255, 255));
        QImage coloured = source;
        coloured.setPixel(25, 5, qRgb(200, 100, 50));
        coloured.setPixel(10, 20, qRgba(10, 20, 30, 128));
        const std::vector<std::pair<QByteArray, bool>> files{
            // whether colour and alpha count
            {qttest::BitmapCursor(source, 1, QPoint(5, 7)), false},
            {qttest::BitmapCursor(coloured, 32, QPoint(5, 7)), true},
            {qttest::PngCursor(coloured, QPoint(5, 7)), true}};
        for (const auto& [file, colour] : files) {
            const auto cursor = qt::ReadCursorFile(file);
            QVERIFY(cursor);
            QCOMPARE(cursor->image.size(), QSize(32, 32));
            QCOMPARE(cursor->hotSpot, QPoint(5, 7));
            QCOMPARE(qAlpha(cursor->image.pixel(3, 20)), 0);
            QCOMPARE(cursor->image.pixel(20, 0), qRgba(255, 255, 255, 255));
            QCOMPARE(cursor->image.pixel(20, 31), qRgba(0, 0, 0, 255));
            if (!colour) continue;
            QCOMPARE(cursor->image.pixel(25, 5), qRgba(200, 100, 50, 255));
            QCOMPARE(qAlpha(cursor->image.pixel(10, 20)), 128);
        }
    }

    void damagedOrForeignPointerFilesAreRefused() {
        QImage blank(32, 32, QImage::Format_ARGB32);
        blank.fill(0);
        const QByteArray good = qttest::BitmapCursor(blank, 1, {});
        auto changed = [&](int at, char to) {
            QByteArray bad = good;
            bad[at] = to;
            return bad;
        };
        const std::vector<std::pair<const char*, QByteArray>> cases{
            {"empty", {}},
            {"a text file", "not a pointer at all"},
            {"an icon", changed(2, 1)},
            {"cut short", good.left(good.size() - 10)},
            {"image past the end", changed(19, 0x10)},
            {"absurd width", changed(22 + 6, 1)},
            {"no entries", changed(4, 0)},
        };
        for (const auto& [name, data] : cases) QVERIFY2(!qt::ReadCursorFile(data), name);
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
