// Files and folders dropped on the real window, on the offscreen platform.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "app/Form1.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "tests/fakes/FakeForm.h"

using namespace pendrel;

namespace {

// The real window and Form1 on the real file system and folder lister.
struct DropHarness {
    QTemporaryDir folder;
    qt::Form1Window window;
    fakes::FakeScreen screen;
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister lister;
    qt::QtMessageBoxes messages{&window};
    qt::QtFolderBrowser folderBrowser{&window};
    fakes::FakeProgram program;
    fakes::FakeEventPump pump;
    fakes::NoAutomation automation;
    fakes::NoWindows windowMessages;
    std::unique_ptr<Form1> form;

    DropHarness() {
        messages.setAutoAnswer(true);
        form = std::make_unique<Form1>(
            window.Controls(), Form1Services{screen, fileSystem, lister, messages, folderBrowser,
                                             program, pump, automation, windowMessages});
        window.Connect(*form);
        form->Form_Load();
        window.show();
    }
    QString Make(const QString& rel) {
        const QString path = folder.filePath(rel);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("x");
        return path;
    }
    std::vector<Text> Queued() {
        std::vector<Text> texts;
        for (std::size_t i = 1; i <= window.listView1().ItemCount(); ++i)
            texts.push_back(window.listView1().ItemText(i));
        return texts;
    }
    // Sends the enter and, when that was accepted, the drop; returns whether the window took it.
    bool Drop(QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
              Qt::DropAction proposed = Qt::MoveAction) {
        const QPoint over = window.listView1().geometry().center();
        QDragEnterEvent enter(over, actions, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        QCoreApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) return false;
        if (enter.dropAction() != Qt::CopyAction) return false;
        QDropEvent drop(QPointF(over), actions, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(proposed);
        QCoreApplication::sendEvent(&window, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }
};

QList<QUrl> Urls(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& p : paths) urls.append(QUrl::fromLocalFile(p));
    return urls;
}

}  // namespace

class DropTest : public QObject {
    Q_OBJECT
  private slots:
    void twoFilesAndAFolderAreQueuedInTheOrderDropped() {
        DropHarness h;
        const QString one = h.Make("one.doc");
        const QString two = h.Make("Two Ä.DOC");
        const QString three = h.Make("folder/three.doc");
        const QString four = h.Make("folder/sub/four.doc");
        h.Make("folder/skip.docx");
        QSignalSpy warmUp(&h.window.listView1().Model(), &qt::QueueModel::becameNonEmpty);

        QMimeData data;
        data.setUrls(Urls({two, h.folder.filePath("folder"), one}));
        QVERIFY(h.window.acceptDrops());
        QVERIFY(h.Drop(data));

        const std::vector<Text> expected{two.toStdString(), three.toStdString(), four.toStdString(),
                                         one.toStdString()};
        QCOMPARE(h.Queued(), expected);
        QCOMPARE(h.window.listView1().SubItem(1, 1), Text("Queued"));
        QCOMPARE(warmUp.count(), 1);  // the engine starts warming at the first document
        QVERIFY(h.messages.shown().empty());
    }

    void onlyLocalFilesAreAcceptedAndNeverAsAMove() {
        DropHarness h;
        const QString doc = h.Make("a.doc");

        QMimeData text;
        text.setText(doc);
        QVERIFY(!h.Drop(text));

        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/a.doc"))});
        QVERIFY(!h.Drop(web));

        QMimeData mixed;
        mixed.setUrls(
            {QUrl::fromLocalFile(doc), QUrl(QStringLiteral("https://example.org/b.doc"))});
        QVERIFY(!h.Drop(mixed));

        QMimeData moveOnly;
        moveOnly.setUrls(Urls({doc}));
        QVERIFY(!h.Drop(moveOnly, Qt::MoveAction, Qt::MoveAction));
        QVERIFY(h.Queued().empty());

        QVERIFY(h.Drop(moveOnly, Qt::CopyAction | Qt::LinkAction, Qt::LinkAction));
        QCOMPARE(h.Queued(), std::vector<Text>{doc.toStdString()});
    }

    void aDroppedPathThatIsGoneIsNamedInOneMessage() {
        DropHarness h;
        const QString kept = h.Make("kept.doc");
        const QString gone = h.Make("gone.doc");
        const QString alsoGone = h.Make("also-gone");
        QMimeData data;
        data.setUrls(Urls({gone, kept, alsoGone}));
        QFile::remove(gone);
        QFile::remove(alsoGone);
        QVERIFY(h.Drop(data));

        QCOMPARE(h.Queued(), std::vector<Text>{kept.toStdString()});
        QCOMPARE(h.messages.shown().size(), std::size_t(1));
        QCOMPARE(h.messages.shown()[0].title, Text("Quarrendon"));
        const Text& text = h.messages.shown()[0].text;
        QVERIFY(text.find(gone.toStdString()) != Text::npos);
        QVERIFY(text.find(alsoGone.toStdString()) != Text::npos);
        QVERIFY(text.find(kept.toStdString()) == Text::npos);
    }
};

QTEST_MAIN(DropTest)
#include "DropTest.moc"
