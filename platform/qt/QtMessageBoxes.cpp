#include "platform/qt/QtMessageBoxes.h"

#include <QMessageBox>

namespace pendrel::qt {

void QtMessageBoxes::Show(const Text& text, const Text& title) {
    shown_.push_back({text, title});
    if (autoAnswer_) return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace pendrel::qt
