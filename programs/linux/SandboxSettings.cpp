#include "programs/linux/SandboxSettings.h"

#include <QSettings>

#include "programs/linux/SettingsFile.h"

namespace pendrel::programs {

SandboxSettings ReadSandboxSettings() {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    return {settings.value(QStringLiteral("sandbox/allow_unisolated"), false).toBool(),
            settings.fileName().toStdString()};
}

office::IsolationPolicy IsolationPolicyFor(const SandboxSettings& settings,
                                           std::function<void(const std::string&)> warn) {
    office::IsolationPolicy policy;
    policy.allowUnisolated = settings.allowUnisolated;
    policy.howToAllow =
        "to convert all the same, set allow_unisolated=true in the [sandbox] "
        "group of " +
        settings.file;
    policy.onUnisolated = [warn = std::move(warn)](const std::string& missing) {
        warn(
            "Documents are converted without isolation: the document engine cannot shut them "
            "off from the rest of the system (" +
            missing + "). A document can then put any file you can read into its PDF.");
    };
    return policy;
}

}  // namespace pendrel::programs
