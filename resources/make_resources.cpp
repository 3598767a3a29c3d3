// Draws Pendrel's icon and the three button pictures: make_resources <output folder>.
// Run through make_resources.sh; the build uses the pictures it wrote, which are committed.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
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

// A page with a folded corner and lines of text, and a red band: a document becoming a PDF.
// Drawn on a 32-pixel grid and scaled to size, on a transparent ground.
QImage Icon(int size = 32) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);
    QPainterPath page;
    page.moveTo(6.5, 1.5);
    page.lineTo(20.5, 1.5);
    page.lineTo(26.5, 7.5);
    page.lineTo(26.5, 30.5);
    page.lineTo(6.5, 30.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x5a, 0x64, 0x70), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xdd, 0xe3, 0xea));
    p.drawPolygon(QPolygonF({QPointF(20.5, 1.5), QPointF(20.5, 7.5), QPointF(26.5, 7.5)}));
    p.setPen(QPen(Accent, 1.6));
    for (qreal y : {10.0, 13.5, 17.0}) p.drawLine(QPointF(10, y), QPointF(23, y));
    p.setPen(Qt::NoPen);
    p.setBrush(PdfRed);
    p.drawRoundedRect(QRectF(2, 20, 24, 10), 1.5, 1.5);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(8);
    font.setWeight(QFont::Black);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 20, 24, 10), Qt::AlignCenter, QStringLiteral("PDF"));
    p.end();
    return image;
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
    save(ButtonPicture({415, 49}, QStringLiteral("ADD WORD FILES"), SquareOutline, 20),
         "check1.jpg", "JPEG", 95);
    save(ButtonPicture({326, 48}, QStringLiteral("ADD FOLDER"), Folder, 24), "check4.jpg", "JPEG",
         95);
    save(ButtonPicture({473, 50}, QStringLiteral("CONVERT TO PDF"), DoubleArrow, 30), "check2.jpg",
         "JPEG", 95);
    // 24-bit colour on white, as the window's icon is.
    QImage icon(32, 32, QImage::Format_RGB888);
    icon.fill(Qt::white);
    {
        QPainter p(&icon);
        p.drawImage(0, 0, Icon());
    }
    save(icon, "pendrel.png", "PNG", -1);
    save(icon, "pendrel.ico", "ICO", -1);
    // The desktop's icon theme draws icons on any background: these keep theirs transparent.
    save(Icon(32), "pendrel-icon-32.png", "PNG", -1);
    save(Icon(256), "pendrel-icon-256.png", "PNG", -1);
    return ok ? 0 : 1;
}
