#include "platform/qt/QtPictureButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace pendrel::qt {

QtPictureButton::QtPictureButton(const QImage& picture, QWidget* parent)
    : QPushButton(parent), picture_(picture) {
    setCheckable(true);
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    QPalette white = palette();
    white.setColor(QPalette::Button, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onClick) onClick();
    });
}

void QtPictureButton::SetValue(int value) {
    setChecked(value != 0);
    if (onClick) onClick();
}

void QtPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);

    const bool down = isDown() || isChecked();
    // The picture is centred; where it is taller or wider than the face, its middle shows.
    QRect target(QPoint(0, 0), picture_.size());
    target.moveCenter(rect().center());
    if (down) target.translate(1, 1);
    painter.drawImage(target, picture_);

    // A thin bevel: light above and left while up, the other way round while down.
    painter.setPen(palette().color(down ? QPalette::Dark : QPalette::Midlight));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(palette().color(down ? QPalette::Midlight : QPalette::Dark));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void QtPictureButton::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QPushButton::mouseMoveEvent(event);
    event->accept();  // the window's background must not see it too
}

}  // namespace pendrel::qt
