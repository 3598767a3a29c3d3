// The queue list on the real window: removal by double-click, item ids, size and speed.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "queue/Queue.h"
#include "tests/qt/WindowHarness.h"

using namespace pendrel;
using pendrel::qttest::WindowHarness;

namespace {

std::vector<std::string> Texts(const ListView& list) {
    std::vector<std::string> texts;
    for (std::size_t i = 1; i <= list.ItemCount(); ++i) texts.push_back(list.ItemText(i));
    return texts;
}

QPoint CentreOfRow(qt::QtListView& list, int row) {
    return list.visualRect(list.model()->index(row, 0)).center();
}

}  // namespace

class QtListViewTest : public QObject {
    Q_OBJECT
private slots:
    void doubleClickRemovesTheItemUnderThePointer() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        for (const char* path : {"/d/1.doc", "/d/2.doc", "/d/3.doc", "/d/4.doc", "/d/5.doc"})
            Queue::Append(list, path);
        list.SetSubItem(4, 1, "Done");
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));

        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CentreOfRow(list, 2));
        QCOMPARE(Texts(list),
                 (std::vector<std::string>{"/d/1.doc", "/d/2.doc", "/d/4.doc", "/d/5.doc"}));
        QCOMPARE(list.SubItem(3, 1), std::string("Done"));
        QCOMPARE(list.SubItem(4, 1), std::string("Queued"));

        // A "Done" item goes like any other.
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CentreOfRow(list, 2));
        QCOMPARE(Texts(list), (std::vector<std::string>{"/d/1.doc", "/d/2.doc", "/d/5.doc"}));

        // Below the last item there is nothing to remove, whatever was selected before.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CentreOfRow(list, 0));
        const QPoint empty(40, list.viewport()->height() - 5);
        QVERIFY(!list.indexAt(empty).isValid());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(list.ItemCount(), std::size_t{3});
    }

    void itemIdsFollowTheirItemsAndTheFirstItemIsAnnounced() {
        qt::QtListView list;
        list.AddColumnHeader("Word Filename");
        list.AddColumnHeader("Status");
        QSignalSpy spy(&list.Model(), &qt::QueueModel::becameNonEmpty);
        for (int i = 1; i <= 6; ++i) list.AddItem("/d/" + std::to_string(i) + ".doc");
        const ListView::ItemId fifth = list.IdAt(5), second = list.IdAt(2);
        list.RemoveItem(2);
        list.RemoveItem(1);
        QCOMPARE(list.IndexOf(fifth), std::optional<std::size_t>(3));
        QCOMPARE(list.ItemText(*list.IndexOf(fifth)), std::string("/d/5.doc"));
        QVERIFY(!list.IndexOf(second));
        QVERIFY(list.IdAt(list.AddItem("/d/5.doc")) != fifth);  // the same path, a new item
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list.ItemText(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list.RemoveItem(list.ItemCount() + 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list.SetColumnHeaderWidth(3, 100.0f));

        QCOMPARE(spy.count(), 1);
        while (list.ItemCount() > 0) list.RemoveItem(1);
        list.AddItem("/c.doc");
        QCOMPARE(spy.count(), 2);
    }

    void holdsAHundredThousandItemsAndAppendsQuickly() {
        WindowHarness h;
        h.form->Form_Load();
        qt::QtListView& list = h.window.listView1();
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        for (int i = 0; i < 100000; ++i)
            Queue::Append(list, "/corpus/document-" + std::to_string(i) + ".doc");
        QCoreApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 10000; ++i)
            Queue::Append(list, "/more/document-" + std::to_string(i) + ".doc");
        QCoreApplication::processEvents();
        const qint64 elapsed = clock.elapsed();
        qInfo("10,000 items appended to 100,000 in %lld ms", elapsed);
        QVERIFY2(elapsed < 500, qPrintable(QString::number(elapsed)));
        QCOMPARE(list.ItemCount(), std::size_t{110000});
        QCOMPARE(list.ItemText(110000), std::string("/more/document-9999.doc"));
        QCOMPARE(list.IndexOf(list.IdAt(100001)), std::optional<std::size_t>(100001));
    }
};

QTEST_MAIN(QtListViewTest)
#include "QtListViewTest.moc"
