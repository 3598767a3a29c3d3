#pragma once
// Modal message boxes over the main window: OK only, no icon.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/Desktop.h"

namespace pendrel::qt {

class QtMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        Text text;
        Text title;
    };

    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}

    void Show(const Text& text, const Text& title) override;

    // For tests: record each message instead of showing it, so nothing waits for a user.
    void setAutoAnswer(bool on) { autoAnswer_ = on; }
    const std::vector<Shown>& shown() const { return shown_; }

private:
    QPointer<QWidget> owner_;
    bool autoAnswer_ = false;
    std::vector<Shown> shown_;
};

}  // namespace pendrel::qt
