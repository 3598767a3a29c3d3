#pragma once
// Writes Windows pointer files (.cur) for the tests, byte by byte as the format lays them out.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <functional>

namespace pendrel::qttest {

inline void PutU16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
inline void PutU32(QByteArray& out, quint32 v) {
    PutU16(out, int(v & 0xFFFF));
    PutU16(out, int(v >> 16));
}

// A file of one entry holding the given image data.
inline QByteArray CursorFileOf(int width, int height, QPoint hotSpot, const QByteArray& image) {
    QByteArray out;
    PutU16(out, 0);
    PutU16(out, 2);  // a pointer file
    PutU16(out, 1);
    out.append(char(width & 0xFF));
    out.append(char(height & 0xFF));
    out.append(char(0));
    out.append(char(0));
    PutU16(out, hotSpot.x());
    PutU16(out, hotSpot.y());
    PutU32(out, quint32(image.size()));
    PutU32(out, 6 + 16);
    return out + image;
}

inline QByteArray InfoHeader(int width, int height, int bits, int colours) {
    QByteArray out;
    PutU32(out, 40);
    PutU32(out, quint32(width));
    PutU32(out, quint32(height * 2));  // the image and its mask
    PutU16(out, 1);
    PutU16(out, bits);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, quint32(colours));
    PutU32(out, 0);
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
    PutU32(image, 0x00000000);  // black
    PutU32(image, 0x00FFFFFF);  // white
    image += OneBitRows(size, size, white);
    image += OneBitRows(size, size, transparent);
    return CursorFileOf(size, size, hotSpot, image);
}

// A 32-bit pointer with its own alpha, and an all-zero mask.
inline QByteArray ArgbCursor(const QImage& argb, QPoint hotSpot) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QByteArray image = InfoHeader(src.width(), src.height(), 32, 0);
    for (int y = src.height() - 1; y >= 0; --y)
        for (int x = 0; x < src.width(); ++x) PutU32(image, src.pixel(x, y));
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
