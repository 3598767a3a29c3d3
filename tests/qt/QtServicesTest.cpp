// The dialogs, message boxes and the event pump, shown for real where the test can answer.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgram.h"

using namespace pendrel;
using namespace std::chrono_literals;

namespace {

const char* const AddFilesTitle = "Add File(s) - Use Ctrl & Shift to select multiple files";

// Acts on the next modal dialog of the given kind as soon as it is up.
template <typename Dialog>
void WhenShown(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start(10);
}

QStringList ShownNames(QFileDialog& dialog) {
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (!view) return {};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names.append(view->model()->index(row, 0, root).data().toString());
    return names;
}

}  // namespace

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    void fileNameHasItsThreeShapes() {
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        const std::string longFolder = "/" + std::string(300, 'x');
        struct Case {
            QStringList picked;
            std::string expected;
        };
        const std::vector<Case> cases{
            {{}, ""},
            {{"/home/u/My Docs/Report One.doc"}, "/home/u/My Docs/Report One.doc"},
            {{"/a.doc", "/b c.doc"}, std::string("/\0a.doc\0b c.doc", 15)},
            {{"/d/a.doc", "/d/B.DOC", "/d/c.txt"}, std::string("/d\0a.doc\0B.DOC\0c.txt", 20)},
            {{QString::fromStdString(longFolder + "/a.doc"),
              QString::fromStdString(longFolder + "/b.doc")},
             longFolder + std::string("\0a.doc\0b.doc", 12)},
        };
        for (const Case& c : cases) {
            dialog.setNextFileNames(c.picked);
            dialog.ShowOpen();
            QCOMPARE(QByteArray::fromStdString(dialog.FileName()),
                     QByteArray::fromStdString(c.expected));
        }
    }

    void showOpenIsAModalMultiPickDialogAndCancelGivesNothing() {
        QTemporaryDir folder;
        QFile(folder.filePath(QStringLiteral("a.doc"))).open(QIODevice::WriteOnly);
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        dialog.SetFlags(0x280201);
        dialog.SetDialogTitle(AddFilesTitle);
        dialog.SetFilter("Word Documents (*.doc)|*.doc|");

        QString seenTitle;
        QFileDialog::FileMode seenMode{};
        WhenShown<QFileDialog>([&](QFileDialog* shown) {
            seenTitle = shown->windowTitle();
            seenMode = shown->fileMode();
            shown->setDirectory(folder.path());
            shown->selectFile(folder.filePath(QStringLiteral("a.doc")));
            static_cast<QDialog*>(shown)->accept();
        });
        dialog.ShowOpen();
        QCOMPARE(seenTitle, QString(AddFilesTitle));
        QCOMPARE(seenMode, QFileDialog::ExistingFiles);
        QCOMPARE(dialog.FileName(), folder.filePath(QStringLiteral("a.doc")).toStdString());

        WhenShown<QFileDialog>([](QFileDialog* shown) { shown->reject(); });
        dialog.ShowOpen();
        QCOMPARE(dialog.FileName(), std::string());
    }

    void filterOffersWordDocumentsWhateverTheirCase() {
        QTemporaryDir folder;
        for (const char* name : {"a.doc", "REPORT.DOC", "Mixed.Doc", "notes.txt", "Report.docx"})
            QFile(folder.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        dialog.SetFilter("Word Documents (*.doc)|*.doc|");
        auto shown = dialog.MakeDialog();
        QCOMPARE(shown->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->itemText(0),
                 QStringLiteral("Word Documents (*.doc)"));
        shown->setDirectory(folder.path());
        shown->show();
        QTRY_COMPARE(ShownNames(*shown).size(), 3);
        QStringList names = ShownNames(*shown);
        names.sort();
        QCOMPARE(names, (QStringList{"Mixed.Doc", "REPORT.DOC", "a.doc"}));
    }

    void folderBrowserReturnsTheChoiceOrNothing() {
        QWidget owner;
        qt::QtFolderBrowser browser(&owner);
        browser.setNextDirectory(QStringLiteral("/srv/my docs"));
        QCOMPARE(browser.Browse(1, "Please select folder to add:"), std::string("/srv/my docs"));

        QString seenTitle;
        bool directoriesOnly = false;
        WhenShown<QFileDialog>([&](QFileDialog* shown) {
            seenTitle = shown->windowTitle();
            directoriesOnly = shown->fileMode() == QFileDialog::Directory;
            shown->reject();
        });
        QCOMPARE(browser.Browse(1, "Please select folder to add:"), std::string());
        QCOMPARE(seenTitle, QStringLiteral("Please select folder to add:"));
        QVERIFY(directoriesOnly);
    }

    void messageBoxIsPlainAndTheHookRecords() {
        QWidget owner;
        qt::QtMessageBoxes boxes(&owner);
        QMessageBox::Icon icon = QMessageBox::Warning;
        QStringList seen;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            seen = {box->windowTitle(), box->text(), QString::number(box->buttons().size())};
            box->button(QMessageBox::Ok)->click();
        });
        boxes.Show("Document skipped.", "Quarrendon");
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(seen, (QStringList{"Quarrendon", "Document skipped.", "1"}));

        boxes.setAutoAnswer(true);
        boxes.Show("second", "Quarrendon");  // would block if it were shown
        QCOMPARE(boxes.shown().size(), std::size_t{2});
        QCOMPARE(boxes.shown().back().text + "|" + boxes.shown().back().title,
                 std::string("second|Quarrendon"));
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
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(QFile::exists(QString::fromStdString(mark)));
        QFile written(QString::fromStdString(output));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("still in the buffer"));
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
