#pragma once
// A run's progress on the desktop's launcher entry: the com.canonical.Unity.LauncherEntry
// signal that docks and KDE Plasma's task manager show as a bar and a count on the
// application's icon. Without a session bus, or with nobody listening, nothing happens.
#include <QString>
#include <QVariantMap>
#include <functional>

#include "platform/Desktop.h"

namespace pendrel::qt {

class LauncherProgress : public RunProgress {
public:
    // desktopFileName: the application's desktop entry, e.g. "io.github.pendrel.Pendrel".
    explicit LauncherProgress(const QString& desktopFileName);

    void Show(std::size_t done, std::size_t total, bool failed) override;
    void Clear() override;

    // For tests: every update is handed here instead of being sent on the session bus.
    std::function<void(const QString& appUri, const QVariantMap& properties)> sendForTests;

private:
    void Send(const QVariantMap& properties);

    QString appUri_;
};

}  // namespace pendrel::qt
