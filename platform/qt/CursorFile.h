#pragma once
// Reading a Windows pointer file (.cur): an icon directory of type 2 whose entries carry a
// hot spot, each image a PNG or a device-independent bitmap with its AND mask.
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <optional>

namespace pendrel::qt {

struct CursorImage {
    QImage image;  // ARGB32
    QPoint hotSpot;
};

// The largest image of the file, or nothing when the data is not a pointer file this
// reader understands. Never reads outside the data, whatever the data claims.
std::optional<CursorImage> ReadCursorFile(const QByteArray& data);

}  // namespace pendrel::qt
