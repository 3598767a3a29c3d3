#include "platform/qt/LauncherProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace pendrel::qt {

LauncherProgress::LauncherProgress(const QString& desktopFileName)
    : appUri_(QStringLiteral("application://") + desktopFileName + QStringLiteral(".desktop")) {}

void LauncherProgress::Show(std::size_t done, std::size_t total, bool failed) {
    const double fraction = total == 0 ? 0.0 : static_cast<double>(done) / total;
    Send({{QStringLiteral("progress"), fraction},
          {QStringLiteral("progress-visible"), true},
          {QStringLiteral("count"), static_cast<qint64>(total - done)},  // documents still to go
          {QStringLiteral("count-visible"), done < total},
          {QStringLiteral("urgent"), failed}});
}

void LauncherProgress::Clear() {
    Send({{QStringLiteral("progress-visible"), false},
          {QStringLiteral("count-visible"), false},
          {QStringLiteral("urgent"), false}});
}

void LauncherProgress::Send(const QVariantMap& properties) {
    if (sendForTests) return sendForTests(appUri_, properties);
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/io/github/pendrel/Pendrel"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    signal << appUri_ << properties;
    session.send(signal);
}

}  // namespace pendrel::qt
