// The dialogs, message boxes, the launcher's progress and the event pump, for real where the test
// can answer. (Ending the program: the fault tests close the real window mid-run.)
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

#include "platform/qt/LauncherProgress.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"

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

}  // namespace

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    // Several names picked in a folder come as the folder, then each name after a NUL; one
    // comes as its path. The filter shows documents whatever the case of their names.
    void fileDialogsGiveTheirResultInItsShapesFilterWithoutCaseAndCancelGivesNothing() {
        QWidget owner;
        qt::QtCommonDialog dialog(&owner);
        dialog.setNextFileNames({"/d/a.doc", "/d/B.DOC", "/d/c.txt"});
        dialog.ShowOpen();
        QCOMPARE(QByteArray::fromStdString(dialog.FileName()),
                 QByteArray("/d\0a.doc\0B.DOC\0c.txt", 20));

        QTemporaryDir folder;
        for (const char* name : {"a.doc", "REPORT.DOC", "Mixed.Doc", "notes.txt", "Report.docx"})
            QFile(folder.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        dialog.SetDialogTitle("Add Files");
        dialog.SetFilter("Word Documents (*.doc)|*.doc|");
        QStringList seen;  // the title and file mode of each dialog shown
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
        auto made = dialog.MakeDialog();
        made->setDirectory(folder.path());
        made->show();
        auto* view = made->findChild<QListView*>(QStringLiteral("listView"));
        auto names = [view] {
            QStringList names;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                names << view->model()->index(row, 0, view->rootIndex()).data().toString();
            names.sort();
            return names;
        };
        QTRY_COMPARE(names(), (QStringList{"Mixed.Doc", "REPORT.DOC", "a.doc"}));

        qt::QtFolderBrowser browser(&owner);
        WhenShown<QFileDialog>([&](QFileDialog* shown) {
            seen << shown->windowTitle() << QString::number(shown->fileMode());
            shown->reject();
        });
        QCOMPARE(browser.Browse(1, "Pick a folder"), std::string());
        QCOMPARE(seen, (QStringList{"Add Files", QString::number(QFileDialog::ExistingFiles),
                                    "Pick a folder", QString::number(QFileDialog::Directory)}));
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

    // What the docks read: the fraction done, the count left, urgent once an item has failed,
    // everything hidden at the end.
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

    // The conversion waits in the pump: the window's events are handled, the core is not spun,
    // and the engine's wake from another thread ends the wait.
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
        QVERIFY2(cpuMs < 100.0, qPrintable(QString::number(cpuMs)));

        std::jthread waker([&pump] {
            std::this_thread::sleep_for(30ms);
            pump.Wake();
        });
        wall.restart();
        pump.ProcessPendingMessages(5000ms);
        QVERIFY2(wall.elapsed() < 2000, qPrintable(QString::number(wall.elapsed())));
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
