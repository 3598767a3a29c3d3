// The real main window: its layout, start-up, keyboard, pointer, closing and the queue list.
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "platform/Form1Layout.h"
#include "queue/Queue.h"
#include "tests/platform/qt/CursorFileWriter.h"
#include "tests/platform/qt/WindowHarness.h"

using namespace pendrel;
using pendrel::qttest::WindowHarness;
using Texts = std::vector<Text>;

namespace {

// Moves the mouse the way the platform does, so the event lands on whatever lies there.
void MoveOver(QWidget* widget, QPoint at = QPoint(20, 20)) {
    QTest::mouseMove(widget, at);
    QCoreApplication::processEvents();
}

void ShowAndActivate(QWidget& window) {
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

QRect PixelsOf(const Form1Layout::Place& p) {
    return QRect(TwipsToPixels(p.left), TwipsToPixels(p.top), TwipsToPixels(p.width),
                 TwipsToPixels(p.height));
}

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowIsBuiltFromTheLayoutTable() {
        WindowHarness h;
        qt::Form1Window& w = h.window;
        QCOMPARE(w.size(), QSize(TwipsToPixels(Form1Layout::ClientWidth),
                                 TwipsToPixels(Form1Layout::ClientHeight)));
        const QList<QWidget*> created{&w.check4(), &w.listView1(), &w.command1(), &w.check2(),
                                      &w.check1()};
        const QList<Form1Layout::Place> places{Form1Layout::Check4, Form1Layout::ListView1,
                                               Form1Layout::Command1, Form1Layout::Check2,
                                               Form1Layout::Check1};
        QList<QWidget*> children;
        for (QObject* child : w.children())
            if (auto* widget = qobject_cast<QWidget*>(child)) children.append(widget);
        QCOMPARE(children, created);  // creation order is stacking order
        for (int i = 0; i < created.size(); ++i)
            QCOMPARE(created[i]->geometry(), PixelsOf(places[i]));

        // From the top, in one column: the list, Add Files, Add Folder, Convert; the hidden
        // button wholly left of the window.
        const QList<QRect> column{w.listView1().geometry(), w.check1().geometry(),
                                  w.check4().geometry(), w.check2().geometry()};
        for (int i = 1; i < column.size(); ++i) {
            QVERIFY(column[i - 1].bottom() < column[i].top());
            QCOMPARE(column[i].left(), column[0].left());
        }
        QVERIFY(column.back().bottom() < w.height());
        QVERIFY(w.command1().geometry().right() < 0);

        // The picture buttons show no text: screen readers read the table's names.
        const std::pair<qt::QtPictureButton*, Form1Layout::Accessible> named[] = {
            {&w.check1(), Form1Layout::Check1Accessible},
            {&w.check4(), Form1Layout::Check4Accessible},
            {&w.check2(), Form1Layout::Check2Accessible}};
        for (const auto& [button, accessible] : named) {
            QCOMPARE(button->accessibleName(), QString::fromUtf8(accessible.name));
            QCOMPARE(button->accessibleDescription(), QString::fromUtf8(accessible.description));
        }
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));

        h.form->Form_Load();
        QCOMPARE(w.windowTitle(), QStringLiteral("Pendrel"));
        QCOMPARE(w.listView1().model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Word Filename"));
        // Centred on the 1024 x 768 screen; not shown yet, so the outer size is the client's.
        QCOMPARE(w.pos(), QPoint((1024 - w.width()) / 2, (768 - w.height()) / 2));
        w.resize(700, 500);  // a bigger frame shows more background; nothing moves
        QCOMPARE(w.check2().geometry(), PixelsOf(Form1Layout::Check2));
    }

    void focusStartsHiddenThenTabAndSpaceAddFilesOnceAndClosingEnds() {
        WindowHarness h;
        h.form->Form_Load();
        qt::Form1Window& w = h.window;
        ShowAndActivate(w);
        QCOMPARE(QApplication::focusWidget(), &w.command1());

        w.commonDialog1().setNextFileNames({QStringLiteral("/docs/a.doc")});
        QTest::keyClick(&w.command1(), Qt::Key_Space);  // the hidden button does nothing
        QCOMPARE(w.listView1().ItemCount(), std::size_t{0});

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &w.check1());
        std::vector<int> clickValues;
        w.check1().onClick = [&] {
            clickValues.push_back(w.check1().Value());
            h.form->Check1_Click();
        };
        QTest::keyClick(&w.check1(), Qt::Key_Space);
        // The user's Click with Value 1, then the nested one raised by putting it back up.
        QCOMPARE(clickValues, (std::vector<int>{1, 0}));
        QCOMPARE(h.Queued(), Texts{"/docs/a.doc"});

        for (QWidget* next :
             QList<QWidget*>{&w.check2(), &w.listView1(), &w.check4(), &w.command1()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QCOMPARE(h.program.ended, 0);
        w.close();
        QCOMPARE(h.program.ended, 1);
    }

    void pointerOverControlsIsTheFileHandOrThePointingHand_data() {
        QTest::addColumn<QByteArray>("file");
        QImage hand(32, 32, QImage::Format_ARGB32);
        hand.fill(qRgba(0, 0, 0, 0));
        hand.setPixel(4, 1, qRgba(0, 0, 0, 255));
        QTest::newRow("HAND-M.CUR") << qttest::BitmapCursor(hand, 32, QPoint(4, 1));
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("a damaged file") << QByteArray("MZ this is no pointer");
    }
    void pointerOverControlsIsTheFileHandOrThePointingHand() {
        QFETCH(QByteArray, file);
        WindowHarness h;
        if (!file.isEmpty()) h.Make(QStringLiteral("HAND-M.CUR"), file);
        const bool usable = file.size() > 100;
        h.form->Form_Load();
        qt::Form1Window& w = h.window;
        ShowAndActivate(w);

        auto showsHand = [&](QWidget* widget) {
            const QCursor c = widget->cursor();
            return usable ? c.shape() == Qt::BitmapCursor && c.hotSpot() == QPoint(4, 1)
                          : c.shape() == Qt::PointingHandCursor;
        };
        const QList<QWidget*> everywhere{&w, w.listView1().viewport(), &w.check1(), &w.check2(),
                                         &w.check4()};
        for (QWidget* over :
             QList<QWidget*>{&w.check1(), &w.check2(), &w.check4(), w.listView1().viewport()}) {
            MoveOver(&w, QPoint(w.width() - 5, w.height() - 4));  // the background
            for (QWidget* widget : everywhere) QCOMPARE(widget->cursor().shape(), Qt::ArrowCursor);
            MoveOver(over);
            for (QWidget* widget : everywhere)
                QVERIFY2(showsHand(widget), qPrintable(widget->objectName()));
        }
        w.SetMousePointer(MousePointer::Busy);
        QCOMPARE(w.check2().cursor().shape(), Qt::WaitCursor);
    }

    void doubleClickRemovesTheItemUnderThePointerAndItemsKeepTheirIds() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        for (const char* path : {"/d/1.doc", "/d/2.doc", "/d/3.doc", "/d/4.doc"})
            Queue::Append(list, path);
        list.SetSubItem(4, 1, "Done");
        const ListView::ItemId third = list.IdAt(3), fourth = list.IdAt(4);
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));

        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 2));
        QCOMPARE(h.Queued(), (Texts{"/d/1.doc", "/d/2.doc", "/d/4.doc"}));
        QCOMPARE(list.SubItem(3, 1), Text("Done"));  // the status moved up with its item
        QCOMPARE(list.IndexOf(fourth), std::optional<std::size_t>(3));
        QVERIFY(!list.IndexOf(third));

        // Below the last item there is nothing to remove, whatever was selected before.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        const QPoint empty(40, list.viewport()->height() - 5);
        QVERIFY(!list.indexAt(empty).isValid());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(list.ItemCount(), std::size_t{3});

        // Emptied, the list announces its next first item again; the same path is a new item.
        QSignalSpy announced(&list.Model(), &qt::QueueModel::becameNonEmpty);
        for (int i = 0; i < 3; ++i) list.RemoveItem(1);
        Queue::Append(list, "/d/4.doc");
        QCOMPARE(announced.count(), 1);
        QVERIFY(list.IdAt(1) != fourth);
    }

    void rightClickOpensTheMenuOfTheItemUnderThePointer() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        const Text document = h.Make(QStringLiteral("a.doc")).toStdString();
        const Text pdf = h.Make(QStringLiteral("a.pdf")).toStdString();
        for (const Text& path : {Text("/d/1.doc"), document, Text("/d/3.doc")})
            Queue::Append(list, path);
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));

        list.setNextMenuChoice(0);
        RightClick(list, RowCentre(list, 1));
        list.setNextMenuChoice(1);
        RightClick(list, RowCentre(list, 2));
        QCOMPARE(list.menusShown(), (std::vector<Texts>{{"Open PDF", "Show in Folder", "Remove"},
                                                        {"Show in Folder", "Remove"}}));
        QCOMPARE(h.shell.opened, Texts{pdf});
        QCOMPARE(h.Queued(), (Texts{"/d/1.doc", document}));

        RightClick(list, QPoint(40, list.viewport()->height() - 5));  // below the items
        QCOMPARE(list.menusShown().size(), std::size_t{2});
    }

    void ensureVisibleScrollsAnItemIntoViewAndKeepsTheSelection() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        for (int i = 1; i <= 200; ++i) Queue::Append(list, "/d/" + std::to_string(i) + ".doc");
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
        auto shown = [&](int row) {
            return list.viewport()->rect().contains(list.visualRect(list.model()->index(row, 0)));
        };
        QVERIFY(!shown(179));
        list.EnsureVisible(180);
        QVERIFY(shown(179));
        QCOMPARE(list.SelectedIndex(), std::optional<std::size_t>(1));
    }

    void holdsAHundredThousandItemsAndAppendsQuickly() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        for (int i = 0; i < 100000; ++i) Queue::Append(list, "/a/" + std::to_string(i) + ".doc");
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 10000; ++i) Queue::Append(list, "/b/" + std::to_string(i) + ".doc");
        QCoreApplication::processEvents();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(list.ItemText(110000), Text("/b/9999.doc"));
        QCOMPARE(list.IndexOf(list.IdAt(100001)), std::optional<std::size_t>(100001));
    }
};

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
