// The real main window: its layout, start-up, keyboard, pointer, closing and the queue list.
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "queue/Queue.h"
#include "tests/platform/qt/CursorFileWriter.h"
#include "tests/platform/qt/WindowHarness.h"

using namespace pendrel;
using pendrel::qttest::WindowHarness;

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

void DoubleClickRow(qt::QtListView& list, int row) {
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualRect(list.model()->index(row, 0)).center());
}

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirPlacesInCreationOrderAndLoadSetsCaptionColumnsAndPlace() {
        WindowHarness h;
        qt::Form1Window& w = h.window;
        QCOMPARE(w.size(), QSize(490, 268));
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));
        auto places = [&] {
            return QList<QRect>{w.listView1().geometry(), w.check1().geometry(),
                                w.check4().geometry(), w.check2().geometry(),
                                w.command1().geometry()};
        };
        const QList<QRect> expectedPlaces{{8, 8, 473, 105},
                                          {8, 120, 473, 41},
                                          {8, 168, 473, 41},
                                          {8, 216, 473, 41},
                                          {-48, 176, 41, 33}};
        QCOMPARE(places(), expectedPlaces);
        QList<QWidget*> created;
        for (QObject* child : w.children())
            if (auto* widget = qobject_cast<QWidget*>(child)) created.append(widget);
        QCOMPARE(created, (QList<QWidget*>{&w.check4(), &w.listView1(), &w.command1(), &w.check2(),
                                           &w.check1()}));
        QCOMPARE((QList<QSize>{w.check1().Picture().size(), w.check4().Picture().size(),
                               w.check2().Picture().size()}),
                 (QList<QSize>{{415, 49}, {326, 48}, {473, 50}}));
        const auto buttons =
            Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
        QCOMPARE(w.windowFlags() & buttons,
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

        h.form->Form_Load();
        QCOMPARE(w.windowTitle(), QStringLiteral("Pendrel"));
        QAbstractItemModel* model = w.listView1().model();
        QCOMPARE(model->columnCount(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Word Filename"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Status"));
        QCOMPARE(w.listView1().columnWidth(0), 367);  // 5500 twips
        QCOMPARE(w.listView1().columnWidth(1), 67);   // 1000 twips
        // Centred on a 1024 x 768 screen; not shown yet, so the outer size is the client's.
        QCOMPARE(w.Left(), 4005.0f);
        QCOMPARE(w.Top(), 3750.0f);
        QCOMPARE(w.pos(), QPoint(267, 250));
        QCOMPARE(w.listView1().toolTip(), QStringLiteral("Double-click item to remove it."));
        QVERIFY((w.check1().toolTip() + w.check2().toolTip() + w.check4().toolTip()).isEmpty());

        w.resize(700, 500);  // a bigger frame shows more background; nothing moves
        QCOMPARE(places(), expectedPlaces);
    }

    void focusStartsHiddenThenTabAndSpaceAddFilesOnceAndClosingEnds() {
        WindowHarness h;
        h.form->Form_Load();
        qt::Form1Window& w = h.window;
        ShowAndActivate(w);
        QCOMPARE(QApplication::focusWidget(), &w.command1());

        // Space on the hidden button does nothing.
        w.commonDialog1().setNextFileNames({QStringLiteral("/docs/a.doc")});
        QTest::keyClick(&w.command1(), Qt::Key_Space);
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
        QCOMPARE(w.check1().Value(), 0);
        QCOMPARE(h.Queued(), std::vector<Text>{"/docs/a.doc"});
        QCOMPARE(w.listView1().SubItem(1, 1), std::string("Queued"));

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
            return usable ? c.shape() == Qt::BitmapCursor && c.hotSpot() == QPoint(4, 1) &&
                                c.pixmap().size() == QSize(32, 32)
                          : c.shape() == Qt::PointingHandCursor;
        };
        const QList<QWidget*> everywhere{
            &w,         w.listView1().viewport(), w.listView1().header(), &w.check1(), &w.check2(),
            &w.check4()};
        for (QWidget* over :
             QList<QWidget*>{&w.check1(), &w.check2(), &w.check4(), w.listView1().viewport()}) {
            MoveOver(&w, QPoint(485, 264));  // the background, below and right of everything
            QCOMPARE(w.MousePointer(), MousePointer::Arrow);
            for (QWidget* widget : everywhere) QCOMPARE(widget->cursor().shape(), Qt::ArrowCursor);
            MoveOver(over);
            QCOMPARE(w.MousePointer(), MousePointer::Custom);
            for (QWidget* widget : everywhere)
                QVERIFY2(showsHand(widget), qPrintable(widget->objectName()));
        }
        MoveOver(&w.check1());  // from a button straight onto the list the hand stays
        MoveOver(w.listView1().viewport());
        QVERIFY(showsHand(&w));
        w.SetMousePointer(MousePointer::Busy);
        QCOMPARE(w.check2().cursor().shape(), Qt::WaitCursor);
    }

    void doubleClickRemovesTheItemUnderThePointerAndItemsKeepTheirIds() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        QSignalSpy announced(&list.Model(), &qt::QueueModel::becameNonEmpty);
        for (const char* path : {"/d/1.doc", "/d/2.doc", "/d/3.doc", "/d/4.doc", "/d/5.doc"})
            Queue::Append(list, path);
        list.SetSubItem(4, 1, "Done");
        const ListView::ItemId third = list.IdAt(3), fourth = list.IdAt(4);
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));

        DoubleClickRow(list, 2);
        QCOMPARE(h.Queued(), (std::vector<Text>{"/d/1.doc", "/d/2.doc", "/d/4.doc", "/d/5.doc"}));
        QCOMPARE(list.SubItem(3, 1), std::string("Done"));
        QCOMPARE(list.SubItem(4, 1), std::string("Queued"));
        QCOMPARE(list.IndexOf(fourth), std::optional<std::size_t>(3));
        QVERIFY(!list.IndexOf(third));
        DoubleClickRow(list, 2);  // a "Done" item goes like any other
        QCOMPARE(h.Queued(), (std::vector<Text>{"/d/1.doc", "/d/2.doc", "/d/5.doc"}));

        // Below the last item there is nothing to remove, whatever was selected before.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(0, 0)).center());
        const QPoint empty(40, list.viewport()->height() - 5);
        QVERIFY(!list.indexAt(empty).isValid());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(list.ItemCount(), std::size_t{3});

        // Emptied, the list announces its next first item; the same path is a new item.
        for (int row : {2, 1, 0}) DoubleClickRow(list, row);
        QCOMPARE(list.ItemCount(), std::size_t{0});
        QCOMPARE(announced.count(), 1);
        Queue::Append(list, "/d/4.doc");
        QCOMPARE(announced.count(), 2);
        QVERIFY(list.IdAt(1) != fourth);
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
        QCOMPARE(list.ItemText(110000), std::string("/b/9999.doc"));
        QCOMPARE(list.IndexOf(list.IdAt(100001)), std::optional<std::size_t>(100001));
    }
};

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
