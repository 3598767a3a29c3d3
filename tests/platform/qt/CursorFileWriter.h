#pragma once
// Writes Windows pointer files (.cur) for the tests, byte by byte as the format lays them out.
#include <QBuffer>
#include <QImage>
#include <initializer_list>

namespace pendrel::qttest {

// Little-endian numbers of the given size in bytes, one after the other.
inline void Put(QByteArray& out, int bytes, std::initializer_list<quint32> values) {
    for (quint32 v : values)
        for (int i = 0; i < bytes; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

// A pointer file of one entry holding the image data (a bitmap and its mask, or a PNG).
inline QByteArray CursorFileOf(QSize size, QPoint hotSpot, const QByteArray& image) {
    QByteArray out;
    Put(out, 2, {0, 2, 1});
    Put(out, 1, {quint32(size.width()), quint32(size.height()), 0, 0});
    Put(out, 2, {quint32(hotSpot.x()), quint32(hotSpot.y())});
    Put(out, 4, {quint32(image.size()), 6 + 16});
    return out + image;
}

// bits 1: black and white, mask bit 1 (the transparent pixels) keeps the screen.
// bits 32: the pixels with their own alpha, and an all-zero mask.
inline QByteArray BitmapCursor(const QImage& source, int bits, QPoint hotSpot) {
    const QImage im = source.convertToFormat(QImage::Format_ARGB32);
    const int w = im.width(), h = im.height(), rowBytes = ((w + 31) / 32) * 4;
    QByteArray image, white(bits == 1 ? rowBytes * h : 0, '\0'), mask(rowBytes * h, '\0');
    Put(image, 4, {40, quint32(w), quint32(h * 2)});  // the image and its mask
    Put(image, 2, {1, quint32(bits)});
    Put(image, 4, {0, 0, 0, 0, bits == 1 ? 2u : 0u, 0});
    if (bits == 1) Put(image, 4, {0x00000000, 0x00FFFFFF});  // black, white
    for (int y = h - 1; y >= 0; --y)                         // bottom-up
        for (int x = 0; x < w; ++x) {
            const QRgb p = im.pixel(x, y);
            const int at = (h - 1 - y) * rowBytes + x / 8;
            if (bits == 32)
                Put(image, 4, {p});
            else if (qAlpha(p) == 0)
                mask[at] = char(mask[at] | (0x80 >> (x % 8)));
            else if (qGray(p) > 127)
                white[at] = char(white[at] | (0x80 >> (x % 8)));
        }
    return CursorFileOf(im.size(), hotSpot, image + white + mask);
}

inline QByteArray PngCursor(const QImage& image, QPoint hotSpot) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return CursorFileOf(image.size(), hotSpot, png);
}

}  // namespace pendrel::qttest
