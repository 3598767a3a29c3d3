#pragma once
// Letting the window handle its messages while a handler waits.
#include <QEventLoop>
#include <QObject>
#include <atomic>

#include "platform/Desktop.h"

namespace pendrel::qt {

class QtEventPump : public QObject, public EventPump {
    Q_OBJECT
public:
    explicit QtEventPump(QObject* parent = nullptr) : QObject(parent) {}

    void ProcessPendingMessages(std::chrono::milliseconds maxWait) override;
    void Wake() override;

private:
    std::atomic<bool> woken_{false};
    QEventLoop* waiting_ = nullptr;  // the innermost wait; touched on the window's thread only
};

}  // namespace pendrel::qt
