#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QTimer>

namespace pendrel::qt {

void QtEventPump::ProcessPendingMessages(std::chrono::milliseconds maxWait) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (woken_.exchange(false) || maxWait.count() <= 0) return;

    // Sleeps in the event loop: a timer or any event that arrives ends the wait's idleness,
    // and the timer (or Wake) ends the wait itself.
    QEventLoop loop;
    QTimer::singleShot(maxWait, &loop, &QEventLoop::quit);
    QEventLoop* const outer = waiting_;
    waiting_ = &loop;
    loop.exec();
    waiting_ = outer;
    woken_.store(false);
}

void QtEventPump::Wake() {
    woken_.store(true);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (waiting_) waiting_->quit();
        },
        Qt::QueuedConnection);
}

}  // namespace pendrel::qt
