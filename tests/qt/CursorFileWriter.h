#pragma once
// Writes Windows pointer files (.cur) for the tests, byte by byte as the format lays them out.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <functional>
#include <initializer_list>

namespace pendrel::qttest {

// Little-endian numbers of the given size in bytes, one after the other.
inline void Put(QByteArray& out, int bytes, std::initializer_list<quint32> values) {
    for (quint32 v : values)
        for (int i = 0; i < bytes; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

// A file of one entry holding the given image data.
inline QByteArray CursorFileOf(int width, int height, QPoint hotSpot, const QByteArray& image) {
    QByteArray out;
    Put(out, 2, {0, 2, 1});  // a pointer file of one entry
    Put(out, 1, {quint32(width), quint32(height), 0, 0});
    Put(out, 2, {quint32(hotSpot.x()), quint32(hotSpot.y())});
    Put(out, 4, {quint32(image.size()), 6 + 16});
    return out + image;
}

inline QByteArray InfoHeader(int width, int height, int bits, int colours) {
    QByteArray out;
    Put(out, 4, {40, quint32(width), quint32(height * 2)});  // the image and its mask
    Put(out, 2, {1, quint32(bits)});
    Put(out, 4, {0, 0, 0, 0, quint32(colours), 0});
    return out;
}

// Rows of 1-bit pixels, bottom-up, each padded to 4 bytes.
inline QByteArray OneBitRows(int width, int height, const std::function<bool(int, int)>& on) {
    const int rowBytes = ((width + 31) / 32) * 4;
    QByteArray out(rowBytes * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (on(x, y)) out[(height - 1 - y) * rowBytes + x / 8] |= char(0x80 >> (x % 8));
    return out;
}

// A black-and-white pointer: mask bit 1 keeps the screen, colour bit 1 is white.
inline QByteArray OneBitCursor(int size, QPoint hotSpot,
                               const std::function<bool(int, int)>& transparent,
                               const std::function<bool(int, int)>& white) {
    QByteArray image = InfoHeader(size, size, 1, 2);
    Put(image, 4, {0x00000000, 0x00FFFFFF});  // black, white
    image += OneBitRows(size, size, white) + OneBitRows(size, size, transparent);
    return CursorFileOf(size, size, hotSpot, image);
}

// A 32-bit pointer with its own alpha, and an all-zero mask.
inline QByteArray ArgbCursor(const QImage& argb, QPoint hotSpot) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QByteArray image = InfoHeader(src.width(), src.height(), 32, 0);
    for (int y = src.height() - 1; y >= 0; --y)
        for (int x = 0; x < src.width(); ++x) Put(image, 4, {src.pixel(x, y)});
    image += QByteArray(((src.width() + 31) / 32) * 4 * src.height(), '\0');
    return CursorFileOf(src.width(), src.height(), hotSpot, image);
}

inline QByteArray PngCursor(const QImage& image, QPoint hotSpot) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return CursorFileOf(image.width(), image.height(), hotSpot, png);
}

}  // namespace pendrel::qttest
