// The real main window: its layout, its start-up, the keyboard, the pointer and closing.
#include <QHeaderView>
#include <QTest>

#include "tests/qt/CursorFileWriter.h"
#include "tests/qt/WindowHarness.h"

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
        const QList<QRect> expectedPlaces{
            {8, 8, 473, 105}, {8, 120, 473, 41}, {8, 168, 473, 41}, {8, 216, 473, 41},
            {-48, 176, 41, 33}};
        QCOMPARE(places(), expectedPlaces);
        QList<QWidget*> created;
        for (QObject* child : w.children())
            if (auto* widget = qobject_cast<QWidget*>(child)) created.append(widget);
        QCOMPARE(created, (QList<QWidget*>{&w.check4(), &w.listView1(), &w.command1(),
                                           &w.check2(), &w.check1()}));
        QCOMPARE(w.check1().Picture().size(), QSize(415, 49));
        QCOMPARE(w.check4().Picture().size(), QSize(326, 48));
        QCOMPARE(w.check2().Picture().size(), QSize(473, 50));
        const auto buttons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                             Qt::WindowCloseButtonHint;
        QCOMPARE(w.windowFlags() & buttons,
                 Qt::WindowFlags(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint));
        QCOMPARE(w.listView1().ColumnHeaderCount(), std::size_t{0});

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
        QCOMPARE(w.listView1().ItemCount(), std::size_t{1});
        QCOMPARE(w.listView1().ItemText(1), std::string("/docs/a.doc"));
        QCOMPARE(w.listView1().SubItem(1, 1), std::string("Queued"));

        const QList<QWidget*> rest{&w.check2(), &w.listView1(), &w.check4(), &w.command1()};
        for (QWidget* next : rest) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QCOMPARE(h.program.ended, 0);
        w.close();
        QCOMPARE(h.program.ended, 1);
    }

    void pointerIsTheFileHandOverControlsAndArrowOverBackground() {
        WindowHarness h;
        QImage hand(32, 32, QImage::Format_ARGB32);
        hand.fill(qRgba(0, 0, 0, 0));
        hand.setPixel(4, 1, qRgba(0, 0, 0, 255));
        h.Make(QStringLiteral("HAND-M.CUR"), qttest::ArgbCursor(hand, QPoint(4, 1)));
        h.form->Form_Load();
        qt::Form1Window& w = h.window;
        ShowAndActivate(w);

        auto showsHand = [&](QWidget* widget) {
            return widget->cursor().shape() == Qt::BitmapCursor &&
                   widget->cursor().hotSpot() == QPoint(4, 1) &&
                   widget->cursor().pixmap().size() == QSize(32, 32);
        };
        QList<QWidget*> everywhere{
            &w,         w.listView1().viewport(), w.listView1().header(), &w.check1(), &w.check2(),
            &w.check4()};
        const QList<QWidget*> controls{&w.check1(), &w.check2(), &w.check4(),
                                       w.listView1().viewport()};
        for (QWidget* over : controls) {
            MoveOver(&w, QPoint(485, 264));  // the background, below and right of everything
            QCOMPARE(w.MousePointer(), MousePointer::Arrow);
            for (QWidget* widget : everywhere) QCOMPARE(widget->cursor().shape(), Qt::ArrowCursor);
            MoveOver(over);
            QCOMPARE(w.MousePointer(), MousePointer::Custom);
            for (QWidget* widget : everywhere)
                QVERIFY2(showsHand(widget), qPrintable(widget->objectName()));
        }
        // From a button straight onto the list the hand stays.
        MoveOver(&w.check1());
        MoveOver(w.listView1().viewport());
        QVERIFY(showsHand(&w));
        h.window.SetMousePointer(MousePointer::Busy);
        QCOMPARE(w.check2().cursor().shape(), Qt::WaitCursor);
    }

    void pointerWithoutAUsableFileIsThePointingHand() {
        for (const bool damaged : {false, true}) {
            WindowHarness h;
            if (damaged) h.Make(QStringLiteral("HAND-M.CUR"), "MZ this is no pointer");
            h.form->Form_Load();
            ShowAndActivate(h.window);
            MoveOver(&h.window, QPoint(485, 264));
            QCOMPARE(h.window.cursor().shape(), Qt::ArrowCursor);
            MoveOver(&h.window.check4());
            QCOMPARE(h.window.check4().cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(h.window.cursor().shape(), Qt::PointingHandCursor);
        }
    }
};

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
