// Reading pointer files: the image, its transparency and its hot spot, and refusing data
// that is not what it claims to be.
#include <QTest>

#include "platform/qt/CursorFile.h"
#include "tests/qt/CursorFileWriter.h"

using pendrel::qt::ReadCursorFile;
using namespace pendrel::qttest;

class CursorFileTest : public QObject {
    Q_OBJECT
private slots:
    void eachImageFormatKeepsItsPixelsTransparencyAndHotSpot() {
        // 1 bit: left half transparent, right half opaque; the top row of that half white.
        auto cursor = ReadCursorFile(OneBitCursor(
            32, QPoint(5, 7), [](int x, int) { return x < 16; },
            [](int x, int y) { return x >= 16 && y == 0; }));
        QVERIFY(cursor);
        QCOMPARE(cursor->image.size(), QSize(32, 32));
        QCOMPARE(cursor->hotSpot, QPoint(5, 7));
        QCOMPARE(qAlpha(cursor->image.pixel(3, 20)), 0);
        QCOMPARE(cursor->image.pixel(20, 0), qRgba(255, 255, 255, 255));  // white, top row
        QCOMPARE(cursor->image.pixel(20, 31), qRgba(0, 0, 0, 255));       // black, bottom row

        QImage source(24, 24, QImage::Format_ARGB32);  // 32 bits with their own alpha
        source.fill(qRgba(0, 0, 0, 0));
        source.setPixel(1, 2, qRgba(200, 100, 50, 255));
        source.setPixel(10, 20, qRgba(10, 20, 30, 128));
        cursor = ReadCursorFile(ArgbCursor(source, QPoint(1, 2)));
        QVERIFY(cursor);
        QCOMPARE(cursor->image.pixel(1, 2), qRgba(200, 100, 50, 255));
        QCOMPARE(qAlpha(cursor->image.pixel(10, 20)), 128);
        QCOMPARE(qAlpha(cursor->image.pixel(0, 0)), 0);
        QCOMPARE(cursor->hotSpot, QPoint(1, 2));

        source = QImage(48, 48, QImage::Format_ARGB32);  // PNG
        source.fill(qRgba(0, 128, 255, 255));
        cursor = ReadCursorFile(PngCursor(source, QPoint(47, 0)));
        QVERIFY(cursor);
        QCOMPARE(cursor->image.size(), QSize(48, 48));
        QCOMPARE(cursor->image.pixel(30, 30), qRgba(0, 128, 255, 255));
        QCOMPARE(cursor->hotSpot, QPoint(47, 0));
    }

    void damagedOrForeignDataIsRefused_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = OneBitCursor(
            32, QPoint(0, 0), [](int, int) { return false; }, [](int, int) { return false; });
        QByteArray icon = good;
        icon[2] = 1;  // an icon file, not a pointer file
        QByteArray offsetPastEnd = good;
        offsetPastEnd[19] = char(0x10);
        QByteArray hugeWidth = good;
        hugeWidth[22 + 4] = char(0xFF);
        hugeWidth[22 + 5] = char(0xFF);
        QByteArray noEntries = good;
        noEntries[4] = 0;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a text file") << QByteArray("not a pointer at all");
        QTest::newRow("an icon") << icon;
        QTest::newRow("cut short") << good.left(good.size() - 10);
        QTest::newRow("image past the end") << offsetPastEnd;
        QTest::newRow("absurd width") << hugeWidth;
        QTest::newRow("no entries") << noEntries;
    }
    void damagedOrForeignDataIsRefused() {
        QFETCH(QByteArray, data);
        QVERIFY(!ReadCursorFile(data));
    }
};

QTEST_GUILESS_MAIN(CursorFileTest)
#include "CursorFileTest.moc"
