// Files and folders dropped on the real window, on the offscreen platform.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "tests/platform/qt/WindowHarness.h"

using namespace pendrel;
using pendrel::qttest::WindowHarness;

namespace {

// Sends the enter and, when that was accepted, the drop; returns whether the window took it.
bool Drop(WindowHarness& h, const QList<QUrl>& urls,
          Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
          Qt::DropAction proposed = Qt::MoveAction) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint over = h.window.listView1().geometry().center();
    QDragEnterEvent enter(over, actions, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(proposed);
    QCoreApplication::sendEvent(&h.window, &enter);
    if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction) return false;
    QDropEvent drop(QPointF(over), actions, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(proposed);
    QCoreApplication::sendEvent(&h.window, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

QList<QUrl> Urls(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& p : paths) urls.append(QUrl::fromLocalFile(p));
    return urls;
}

}  // namespace

class DropTest : public QObject {
    Q_OBJECT
private slots:
    void filesAndFoldersAreQueuedInTheOrderDroppedAndTheGoneNamedInOneMessage() {
        WindowHarness h;
        h.form->Form_Load();
        h.window.show();
        const QString one = h.Make("one.doc");
        const QString two = h.Make("Two Ä.DOC");
        const QString three = h.Make("folder/three.doc");
        const QString four = h.Make("folder/sub/four.doc");
        h.Make("folder/skip.docx");
        const QString gone = h.Make("gone.doc");
        const QString alsoGone = h.Make("also-gone");
        QSignalSpy warmUp(&h.window.listView1().Model(), &qt::QueueModel::becameNonEmpty);
        const QList<QUrl> urls = Urls({two, gone, h.folder.filePath("folder"), alsoGone, one});
        QFile::remove(gone);
        QFile::remove(alsoGone);

        QVERIFY(h.window.acceptDrops());
        QVERIFY(Drop(h, urls));
        const std::vector<Text> expected{two.toStdString(), three.toStdString(), four.toStdString(),
                                         one.toStdString()};
        QCOMPARE(h.Queued(), expected);
        QCOMPARE(warmUp.count(), 1);  // the engine starts warming at the first document
        // The message's wording is the logic's; here, that the drop's missing paths reach it.
        QCOMPARE(h.messages.shown().size(), std::size_t(1));
        QVERIFY(h.messages.shown()[0].text.ends_with(gone.toStdString() + "\n" +
                                                     alsoGone.toStdString()));
    }

    void onlyLocalFilesAreAcceptedAndNeverAsAMove() {
        WindowHarness h;
        h.form->Form_Load();
        h.window.show();
        const QString doc = h.Make("a.doc");
        const QUrl web(QStringLiteral("https://example.org/a.doc"));
        QMimeData text;
        text.setText(doc);
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&h.window, &enter);
        QVERIFY(!enter.isAccepted());
        QVERIFY(!Drop(h, {web}));
        QVERIFY(!Drop(h, {QUrl::fromLocalFile(doc), web}));
        QVERIFY(!Drop(h, Urls({doc}), Qt::MoveAction, Qt::MoveAction));
        QVERIFY(h.Queued().empty());

        QVERIFY(Drop(h, Urls({doc}), Qt::CopyAction | Qt::LinkAction, Qt::LinkAction));
        QCOMPARE(h.Queued(), std::vector<Text>{doc.toStdString()});
    }
};

QTEST_MAIN(DropTest)
#include "DropTest.moc"
