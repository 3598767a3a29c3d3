// The real main window on the offscreen platform: start-up, keyboard, pointer, closing, the
// queue list and its menu, and drops.
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "queue/Queue.h"
#include "tests/platform/qt/WindowHarness.h"

using namespace pendrel;
using pendrel::qttest::WindowHarness;
using Texts = std::vector<Text>;

namespace {

void Show(qt::Form1Window& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

QPoint RowCentre(qt::QtListView& list, int row) {
    return list.visualRect(list.model()->index(row, 0)).center();
}

void RightClick(qt::QtListView& list, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list.viewport(), &event);
}

// Sends the drag's entry and, when that was taken, the drop; whether the window took both.
bool Drop(WindowHarness& h, const QStringList& paths,
          Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
          Qt::DropAction proposed = Qt::MoveAction) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << (p.startsWith('/') ? QUrl::fromLocalFile(p) : QUrl(p));
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

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT
private slots:
    void loadsCentredNamedForScreenReadersWorksByKeyboardAndClosingEnds() {
        WindowHarness h;
        qt::Form1Window& w = h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Pendrel"));
        // Centred on the 1024 x 768 screen; not shown yet, so the outer size is the client's.
        QCOMPARE(w.pos(), QPoint((1024 - w.width()) / 2, (768 - w.height()) / 2));
        // The picture buttons show no text: screen readers read their names.
        QCOMPARE(w.check1().accessibleName(), QStringLiteral("Add Word Files"));
        QCOMPARE(w.check4().accessibleName(), QStringLiteral("Add Folder"));
        QCOMPARE(w.check2().accessibleName(), QStringLiteral("Convert to PDF"));
        QVERIFY(!w.check2().accessibleDescription().isEmpty());

        Show(w);
        QCOMPARE(QApplication::focusWidget(), &w.command1());  // hidden, so no focus mark shows
        w.commonDialog1().setNextFileNames({QStringLiteral("/docs/a.doc")});
        QTest::keyClick(&w.command1(), Qt::Key_Space);  // the hidden button does nothing
        QCOMPARE(w.listView1().ItemCount(), std::size_t{0});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &w.check1());
        QTest::keyClick(&w.check1(), Qt::Key_Space);
        QCOMPARE(h.Queued(), Texts{"/docs/a.doc"});
        w.close();
        QCOMPARE(h.program.ended, 1);
    }

    // Double-click removes the item under the pointer, its status and id moving up with it;
    // right-click opens the menu of the item under it; below the items neither does anything.
    // EnsureVisible scrolls an item into view and keeps the selection.
    void theListActsOnTheItemUnderThePointerAndFollowsTheRun() {
        WindowHarness h;
        qt::QtListView& list = h.window.listView1();
        const Text document = h.Make(QStringLiteral("a.doc")).toStdString();
        const Text pdf = h.Make(QStringLiteral("a.pdf")).toStdString();
        for (const Text& path : {Text("/d/1.doc"), document, Text("/d/3.doc"), Text("/d/4.doc")})
            Queue::Append(list, path);
        list.SetSubItem(4, Queue::StatusColumn, "Done");
        const ListView::ItemId third = list.IdAt(3), fourth = list.IdAt(4);
        Show(h.window);

        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 2));
        QCOMPARE(h.Queued(), (Texts{"/d/1.doc", document, "/d/4.doc"}));
        QCOMPARE(list.SubItem(3, Queue::StatusColumn), Text("Done"));
        QCOMPARE(list.IndexOf(fourth), std::optional<std::size_t>(3));
        QVERIFY(!list.IndexOf(third));

        list.setNextMenuChoice(0);
        RightClick(list, RowCentre(list, 1));
        list.setNextMenuChoice(1);
        RightClick(list, RowCentre(list, 2));
        QCOMPARE(list.menusShown(), (std::vector<Texts>{{"Open PDF", "Show in Folder", "Remove"},
                                                        {"Show in Folder", "Remove"}}));
        QCOMPARE(h.shell.opened, Texts{pdf});
        QCOMPARE(h.Queued(), (Texts{"/d/1.doc", document}));

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        const QPoint below(40, list.viewport()->height() - 5);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, below);
        RightClick(list, below);
        QCOMPARE(list.ItemCount(), std::size_t{2});
        QCOMPARE(list.menusShown().size(), std::size_t{2});

        for (int i = 3; i <= 200; ++i) Queue::Append(list, "/d/" + std::to_string(i) + ".doc");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        const QRect row = list.visualRect(list.model()->index(179, 0));
        QVERIFY(!list.viewport()->rect().contains(row));
        list.EnsureVisible(180);
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.model()->index(179, 0))));
        QCOMPARE(list.SelectedIndex(), std::optional<std::size_t>(1));
    }

    // Local files and folders only, in the order dropped, never as a move (some file managers
    // then delete the originals); the missing ones reach the logic's one message.
    void dropsQueueLocalFilesAndFoldersAsACopyOnly() {
        WindowHarness h;
        Show(h.window);
        const QString one = h.Make("one.doc"), two = h.Make("Two Ä.DOC");
        const QString three = h.Make("folder/three.doc"), gone = h.Make("gone.doc");
        h.Make("folder/skip.docx");
        QSignalSpy warmUp(&h.window.listView1().Model(), &qt::QueueModel::becameNonEmpty);
        const QString web = QStringLiteral("https://example.org/a.doc");
        QVERIFY(!Drop(h, {web}));
        QVERIFY(!Drop(h, {one, web}));
        QVERIFY(!Drop(h, {one}, Qt::MoveAction, Qt::MoveAction));
        QVERIFY(h.Queued().empty());

        QFile::remove(gone);
        QVERIFY(Drop(h, {two, gone, h.folder.filePath("folder"), one}));
        QCOMPARE(h.Queued(), (Texts{two.toStdString(), three.toStdString(), one.toStdString()}));
        QCOMPARE(warmUp.count(), 1);  // the engine starts warming at the first document
        QCOMPARE(h.messages.shown().size(), std::size_t(1));
        QVERIFY(h.messages.shown()[0].text.ends_with(gone.toStdString()));
        QVERIFY(Drop(h, {one}, Qt::CopyAction | Qt::LinkAction, Qt::LinkAction));
        QCOMPARE(h.Queued().size(), std::size_t{4});
    }
};

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
