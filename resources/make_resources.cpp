// Draws Pendrel's icon (the window's, Pendrel.exe's icon file, and the desktop theme's
// pictures and SVG) and the three button pictures: make_resources <output folder>.
// Run through make_resources.sh; the build uses the pictures it wrote, which are committed.
#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTextStream>
#include <functional>

namespace {

const QColor Ink(0x1d, 0x35, 0x57);     // the labels
const QColor Accent(0x2b, 0x6c, 0xb0);  // the symbols
const QColor PdfRed(0xc6, 0x28, 0x28);

using Symbol = std::function<void(QPainter&, const QRectF&)>;

void SquareOutline(QPainter& p, const QRectF& box) {
    p.setPen(QPen(Accent, 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(1.5, 1.5, -1.5, -1.5));
}

void Folder(QPainter& p, const QRectF& box) {
    const qreal tabWidth = box.width() * 0.42, tabHeight = box.height() * 0.16;
    QPainterPath back;
    back.moveTo(box.left(), box.top() + tabHeight);
    back.lineTo(box.left(), box.top() + 2);
    back.quadTo(box.left(), box.top(), box.left() + 2, box.top());
    back.lineTo(box.left() + tabWidth - 3, box.top());
    back.lineTo(box.left() + tabWidth + 1, box.top() + tabHeight);
    back.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Accent.darker(115));
    p.drawPath(back);
    const QRectF body(box.left(), box.top() + tabHeight, box.width(), box.height() - tabHeight);
    p.setBrush(Accent);
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(Accent.lighter(125));
    p.drawRoundedRect(body.adjusted(0, body.height() * 0.22, 0, 0), 2, 2);
}

void DoubleArrow(QPainter& p, const QRectF& box) {
    const qreal y = box.center().y(), head = box.height() * 0.42;
    p.setPen(QPen(Accent, 3.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(box.left() + 4, y), QPointF(box.right() - 4, y));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawPolygon(QPolygonF({QPointF(box.left(), y), QPointF(box.left() + head, y - head * 0.75),
                             QPointF(box.left() + head, y + head * 0.75)}));
    p.drawPolygon(QPolygonF({QPointF(box.right(), y), QPointF(box.right() - head, y - head * 0.75),
                             QPointF(box.right() - head, y + head * 0.75)}));
}

// A picture on white: the symbol at the left, the label after it, both centred vertically.
QImage ButtonPicture(QSize size, const QString& label, const Symbol& symbol, qreal symbolWidth) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal symbolHeight = 20;
    const QRectF box(14, (size.height() - symbolHeight) / 2.0, symbolWidth, symbolHeight);
    symbol(p, box);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(19);
    font.setWeight(QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(font);
    p.setPen(Ink);
    const QRectF text(box.right() + 14, 0, size.width() - box.right() - 14, size.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, label);
    return image;
}

// The icon: a page with a folded corner and lines of text, and a red band: a document
// becoming a PDF. Its geometry is on a 32-unit grid; the pictures of every size and the SVG
// are drawn from these same shapes.
namespace icon {

const QColor PageEdge(0x5a, 0x64, 0x70);
const QColor FoldFill(0xdd, 0xe3, 0xea);
constexpr qreal Grid = 32;
constexpr qreal PageEdgeWidth = 1.0;
constexpr qreal LineWidth = 1.6;
constexpr qreal LineLeft = 10, LineRight = 23;
constexpr qreal LineYs[] = {10.0, 13.5, 17.0};
constexpr qreal BandRadius = 1.5;
const QRectF Band(2, 20, 24, 10);

QPolygonF Page() {
    return QPolygonF({QPointF(6.5, 1.5), QPointF(20.5, 1.5), QPointF(26.5, 7.5),
                      QPointF(26.5, 30.5), QPointF(6.5, 30.5)});
}

QPolygonF Fold() {
    return QPolygonF({QPointF(20.5, 1.5), QPointF(20.5, 7.5), QPointF(26.5, 7.5)});
}

// "PDF" as outlines, centred in the band, so that the SVG needs no font.
QPainterPath Label() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(8);
    font.setWeight(QFont::Black);
    const QString text = QStringLiteral("PDF");
    const QFontMetricsF metrics(font);
    QPainterPath path;
    path.addText(Band.left() + (Band.width() - metrics.horizontalAdvance(text)) / 2,
                 Band.top() + (Band.height() - metrics.height()) / 2 + metrics.ascent(), font,
                 text);
    return path;
}

}  // namespace icon

// The icon at size x size pixels, on a transparent ground.
QImage Icon(int size = 32) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / icon::Grid, size / icon::Grid);
    // QPen's defaults (square caps, bevelled joins) are what the SVG states.
    p.setPen(QPen(icon::PageEdge, icon::PageEdgeWidth));
    p.setBrush(Qt::white);
    p.drawPolygon(icon::Page());
    p.setBrush(icon::FoldFill);
    p.drawPolygon(icon::Fold());
    p.setPen(QPen(Accent, icon::LineWidth));
    for (qreal y : icon::LineYs)
        p.drawLine(QPointF(icon::LineLeft, y), QPointF(icon::LineRight, y));
    p.setPen(Qt::NoPen);
    p.setBrush(PdfRed);
    p.drawRoundedRect(icon::Band, icon::BandRadius, icon::BandRadius);
    p.setBrush(Qt::white);
    p.drawPath(icon::Label());
    p.end();
    return image;
}

// The scalable icon for the desktop's icon theme, written from the same shapes.
QByteArray IconSvg() {
    auto number = [](qreal value) {
        return QString::number(value, 'f', 3).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    };
    auto points = [&](const QPolygonF& polygon) {
        QStringList list;
        for (const QPointF& point : polygon)
            list << number(point.x()) + QLatin1Char(',') + number(point.y());
        return list.join(QLatin1Char(' '));
    };
    auto pathData = [&](const QPainterPath& path) {
        QString d;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            const QString xy = number(e.x) + QLatin1Char(' ') + number(e.y);
            if (e.isMoveTo()) {
                d += QStringLiteral("M") + xy;
            } else if (e.isLineTo()) {
                d += QStringLiteral("L") + xy;
            } else if (e.isCurveTo()) {
                const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
                d += QStringLiteral("C") + xy + QLatin1Char(' ') + number(c2.x) + QLatin1Char(' ') +
                     number(c2.y) + QLatin1Char(' ') + number(end.x) + QLatin1Char(' ') +
                     number(end.y);
                i += 2;
            }
        }
        return d;
    };
    const QString grid = number(icon::Grid);
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << grid << "\" height=\"" << grid
        << "\" viewBox=\"0 0 " << grid << ' ' << grid << "\">\n"
        << "  <g stroke=\"" << icon::PageEdge.name() << "\" stroke-width=\""
        << number(icon::PageEdgeWidth) << "\" stroke-linejoin=\"bevel\">\n"
        << "    <polygon fill=\"#ffffff\" points=\"" << points(icon::Page()) << "\"/>\n"
        << "    <polygon fill=\"" << icon::FoldFill.name() << "\" points=\"" << points(icon::Fold())
        << "\"/>\n"
        << "  </g>\n"
        << "  <g stroke=\"" << Accent.name() << "\" stroke-width=\"" << number(icon::LineWidth)
        << "\" stroke-linecap=\"square\">\n";
    for (qreal y : icon::LineYs)
        out << "    <line x1=\"" << number(icon::LineLeft) << "\" y1=\"" << number(y) << "\" x2=\""
            << number(icon::LineRight) << "\" y2=\"" << number(y) << "\"/>\n";
    out << "  </g>\n"
        << "  <rect fill=\"" << PdfRed.name() << "\" x=\"" << number(icon::Band.x()) << "\" y=\""
        << number(icon::Band.y()) << "\" width=\"" << number(icon::Band.width()) << "\" height=\""
        << number(icon::Band.height()) << "\" rx=\"" << number(icon::BandRadius) << "\"/>\n";
    const QPainterPath label = icon::Label();
    out << "  <path fill=\"#ffffff\" fill-rule=\""
        << (label.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero") << "\" d=\""
        << pathData(label) << "\"/>\n"
        << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

// A Windows icon file holding each picture as 24-bit colour (BI_RGB) with a 1-bit AND mask:
// a pixel less than half covered is left to the background, any other is drawn over white.
QByteArray IconFile(const QList<QImage>& pictures) {
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(pictures.size());  // an icon, so many pictures
    QList<QByteArray> bitmaps;
    for (const QImage& picture : pictures) {
        const int w = picture.width(), h = picture.height();
        const int colourRow = (w * 3 + 3) / 4 * 4, maskRow = ((w + 7) / 8 + 3) / 4 * 4;
        QByteArray bitmap;
        QDataStream bits(&bitmap, QIODevice::WriteOnly);
        bits.setByteOrder(QDataStream::LittleEndian);
        // BITMAPINFOHEADER: the height counts the colour and the mask together.
        bits << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(24) << quint32(0)
             << quint32((colourRow + maskRow) * h) << qint32(0) << qint32(0) << quint32(0)
             << quint32(0);
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        QByteArray colour, mask;
        for (int y = h - 1; y >= 0; --y) {  // bottom-up
            QByteArray colourLine(colourRow, '\0'), maskLine(maskRow, '\0');
            for (int x = 0; x < w; ++x) {
                const QRgb pixel = argb.pixel(x, y);
                const int alpha = qAlpha(pixel);
                if (alpha < 128) {
                    maskLine[x / 8] = char(maskLine[x / 8] | (0x80 >> (x % 8)));
                    continue;  // black in the colour bitmap: the background shows unchanged
                }
                auto overWhite = [&](int c) {
                    return char((c * alpha + 255 * (255 - alpha)) / 255);
                };
                colourLine[3 * x] = overWhite(qBlue(pixel));
                colourLine[3 * x + 1] = overWhite(qGreen(pixel));
                colourLine[3 * x + 2] = overWhite(qRed(pixel));
            }
            colour += colourLine;
            mask += maskLine;
        }
        bits.writeRawData(colour.constData(), colour.size());
        bits.writeRawData(mask.constData(), mask.size());
        bitmaps << bitmap;
    }
    quint32 offset = 6 + 16 * pictures.size();
    for (int i = 0; i < pictures.size(); ++i) {
        // ICONDIRENTRY: width and height (0 would mean 256), no palette, 1 plane, 24 bits.
        out << quint8(pictures[i].width()) << quint8(pictures[i].height()) << quint8(0) << quint8(0)
            << quint16(1) << quint16(24) << quint32(bitmaps[i].size()) << offset;
        offset += bitmaps[i].size();
    }
    for (const QByteArray& bitmap : bitmaps) out.writeRawData(bitmap.constData(), bitmap.size());
    return file;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make_resources <output folder>\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    bool ok = true;
    auto save = [&](const QImage& image, const QString& name, const char* format, int quality) {
        if (!image.save(out + name, format, quality)) {
            err << "make_resources: cannot write " << out + name << "\n";
            ok = false;
        }
    };
    auto write = [&](const QByteArray& bytes, const QString& name) {
        QFile file(out + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            err << "make_resources: cannot write " << out + name << "\n";
            ok = false;
        }
    };
    save(ButtonPicture({415, 49}, QStringLiteral("ADD WORD FILES"), SquareOutline, 20),
         "check1.jpg", "JPEG", 95);
    save(ButtonPicture({326, 48}, QStringLiteral("ADD FOLDER"), Folder, 24), "check4.jpg", "JPEG",
         95);
    save(ButtonPicture({473, 50}, QStringLiteral("CONVERT TO PDF"), DoubleArrow, 30), "check2.jpg",
         "JPEG", 95);
    // The window's icon: 24-bit colour on white, as a picture for Qt and as an icon file of
    // three sizes for Pendrel.exe.
    QImage icon(32, 32, QImage::Format_RGB888);
    icon.fill(Qt::white);
    {
        QPainter p(&icon);
        p.drawImage(0, 0, Icon());
    }
    save(icon, "pendrel.png", "PNG", -1);
    write(IconFile({Icon(16), Icon(32), Icon(48)}), "pendrel.ico");
    // The desktop's icon theme draws icons on any background: these keep theirs transparent.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        save(Icon(size), QStringLiteral("pendrel-icon-%1.png").arg(size), "PNG", -1);
    write(IconSvg(), "pendrel-icon.svg");
    return ok ? 0 : 1;
}
