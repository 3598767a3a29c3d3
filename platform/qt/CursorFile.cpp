#include "platform/qt/CursorFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pendrel::qt {
namespace {

constexpr int MaxSide = 256;
constexpr int DirectoryBytes = 6;
constexpr int EntryBytes = 16;
constexpr int InfoHeaderBytes = 40;

// Little-endian reads that refuse to step outside the data.
class Reader {
public:
    explicit Reader(const QByteArray& data) : data_(data) {}
    bool Has(std::int64_t offset, std::int64_t length) const {
        return offset >= 0 && length >= 0 && offset + length <= data_.size();
    }
    std::uint32_t U8(std::int64_t at) const {
        return static_cast<std::uint8_t>(data_.constData()[at]);
    }
    std::uint32_t U16(std::int64_t at) const { return U8(at) | U8(at + 1) << 8; }
    std::uint32_t U32(std::int64_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::int32_t S32(std::int64_t at) const { return static_cast<std::int32_t>(U32(at)); }
    QByteArray Slice(std::int64_t at, std::int64_t length) const {
        return data_.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(length));
    }

private:
    const QByteArray& data_;
};

struct Entry {
    int width = 0;  // 0 in the directory means 256
    QPoint hotSpot;
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

std::int64_t RowBytes(std::int64_t width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

bool Bit(const Reader& r, std::int64_t rowStart, int x) {
    return (r.U8(rowStart + x / 8) >> (7 - x % 8)) & 1;
}

// The colour of pixel x of one XOR row, as 0xAARRGGBB with alpha from the pixel where it
// has one.
QRgb XorPixel(const Reader& r, std::int64_t rowStart, int x, int bits,
              const std::vector<QRgb>& palette) {
    switch (bits) {
        case 32: {
            const std::int64_t p = rowStart + std::int64_t{x} * 4;
            return qRgba(int(r.U8(p + 2)), int(r.U8(p + 1)), int(r.U8(p)), int(r.U8(p + 3)));
        }
        case 24: {
            const std::int64_t p = rowStart + std::int64_t{x} * 3;
            return qRgb(int(r.U8(p + 2)), int(r.U8(p + 1)), int(r.U8(p)));
        }
        case 8:
            return palette[r.U8(rowStart + x)];
        case 4:
            return palette[(r.U8(rowStart + x / 2) >> (x % 2 ? 0 : 4)) & 0xF];
        default:
            return palette[Bit(r, rowStart, x) ? 1 : 0];
    }
}

std::optional<QImage> ReadBitmap(const Reader& r, std::int64_t at, std::int64_t length) {
    if (!r.Has(at, InfoHeaderBytes) || length < InfoHeaderBytes) return std::nullopt;
    const std::int64_t headerSize = r.U32(at);
    const std::int32_t width = r.S32(at + 4);
    const std::int32_t doubledHeight = r.S32(at + 8);
    const int bits = static_cast<int>(r.U16(at + 14));
    const std::uint32_t compression = r.U32(at + 16);
    const std::uint32_t coloursUsed = r.U32(at + 32);
    // The height counts the XOR image and the AND mask together.
    const std::int32_t height = doubledHeight / 2;
    if (headerSize < InfoHeaderBytes || compression != 0) return std::nullopt;
    if (width <= 0 || width > MaxSide || height <= 0 || height > MaxSide) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

    std::vector<QRgb> palette;
    std::int64_t pos = at + headerSize;
    if (bits <= 8) {
        const std::uint32_t colours = coloursUsed ? coloursUsed : (1u << bits);
        if (colours > (1u << bits)) return std::nullopt;
        if (!r.Has(pos, std::int64_t{colours} * 4)) return std::nullopt;
        for (std::uint32_t i = 0; i < colours; ++i, pos += 4)
            palette.push_back(qRgb(int(r.U8(pos + 2)), int(r.U8(pos + 1)), int(r.U8(pos))));
        palette.resize(std::size_t{1} << bits, qRgb(0, 0, 0));
    }
    const std::int64_t xorRow = RowBytes(width, bits);
    const std::int64_t andRow = RowBytes(width, 1);
    const std::int64_t xorStart = pos;
    const std::int64_t andStart = xorStart + xorRow * height;
    if (!r.Has(xorStart, xorRow * height + andRow * height)) return std::nullopt;
    if (andStart + andRow * height > at + length) return std::nullopt;

    // A 32-bit image whose alpha is all zero is an old-style one that relies on its mask.
    bool hasAlpha = false;
    if (bits == 32)
        for (std::int32_t y = 0; y < height && !hasAlpha; ++y)
            for (int x = 0; x < width && !hasAlpha; ++x)
                hasAlpha = qAlpha(XorPixel(r, xorStart + xorRow * y, x, bits, palette)) != 0;

    QImage image(width, height, QImage::Format_ARGB32);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t fileRow = height - 1 - y;  // bitmaps are stored bottom-up
        for (int x = 0; x < width; ++x) {
            QRgb pixel = XorPixel(r, xorStart + xorRow * fileRow, x, bits, palette);
            if (!hasAlpha) {
                // AND 1 keeps the screen: transparent, unless the XOR colour would invert
                // it, which a pointer image can only show as an opaque black pixel.
                const bool keepScreen = Bit(r, andStart + andRow * fileRow, x);
                if (keepScreen)
                    pixel = (pixel & 0xFFFFFF) ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0);
                else
                    pixel |= 0xFF000000u;
            }
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

std::optional<QImage> ReadImage(const Reader& r, const Entry& entry) {
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (!r.Has(entry.offset, entry.length)) return std::nullopt;
    const QByteArray head = r.Slice(entry.offset, 8);
    if (head == pngSignature) {
        QImage png;
        if (!png.loadFromData(r.Slice(entry.offset, entry.length), "PNG")) return std::nullopt;
        if (png.width() > MaxSide || png.height() > MaxSide) return std::nullopt;
        return png.convertToFormat(QImage::Format_ARGB32);
    }
    return ReadBitmap(r, entry.offset, entry.length);
}

}  // namespace

std::optional<CursorImage> ReadCursorFile(const QByteArray& data) {
    const Reader r(data);
    if (!r.Has(0, DirectoryBytes)) return std::nullopt;
    if (r.U16(0) != 0 || r.U16(2) != 2) return std::nullopt;
    const int count = static_cast<int>(r.U16(4));
    if (count == 0 || !r.Has(DirectoryBytes, std::int64_t{count} * EntryBytes)) return std::nullopt;

    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        const std::int64_t at = DirectoryBytes + std::int64_t{i} * EntryBytes;
        Entry entry;
        entry.width = r.U8(at) ? static_cast<int>(r.U8(at)) : MaxSide;
        entry.hotSpot = QPoint(static_cast<int>(r.U16(at + 4)), static_cast<int>(r.U16(at + 6)));
        entry.length = r.U32(at + 8);
        entry.offset = r.U32(at + 12);
        if (!best || entry.width > best->width) best = entry;
    }

    auto image = ReadImage(r, *best);
    if (!image) return std::nullopt;
    CursorImage cursor{*image, best->hotSpot};
    // A hot spot outside the image would point nowhere; keep it on the image.
    cursor.hotSpot.setX(std::min(cursor.hotSpot.x(), image->width() - 1));
    cursor.hotSpot.setY(std::min(cursor.hotSpot.y(), image->height() - 1));
    return cursor;
}

}  // namespace pendrel::qt
