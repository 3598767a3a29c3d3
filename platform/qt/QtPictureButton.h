#pragma once
// Check1, Check2, Check4: two-state buttons whose face is a picture. A click by the user
// puts the button down and raises Click; writing Value from code raises Click as well.
#include <QImage>
#include <QPushButton>
#include <functional>

#include "platform/Controls.h"

namespace pendrel::qt {

class QtPictureButton : public QPushButton, public PictureButton {
    Q_OBJECT
public:
    QtPictureButton(const QImage& picture, QWidget* parent = nullptr);

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

    int Value() const override { return isChecked() ? 1 : 0; }
    void SetValue(int value) override;

    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

}  // namespace pendrel::qt
