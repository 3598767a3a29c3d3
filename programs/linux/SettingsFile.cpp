#include "programs/linux/SettingsFile.h"

#include <QSettings>

namespace pendrel::programs {

QString SettingsFile() {
    // The native format on Linux is the INI syntax, in a file named pendrel.conf.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("pendrel"),
                     QStringLiteral("pendrel"))
        .fileName();
}

}  // namespace pendrel::programs
