#include "programs/linux/PdfSettings.h"

#include <QSettings>

#include "platform/office/protocol/Protocol.h"
#include "programs/linux/SettingsFile.h"

namespace pendrel::programs {

std::uint8_t PdfFlagsFromSettings() {
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    std::uint8_t flags = 0;
    if (settings.value(QStringLiteral("pdf/tagged"), false).toBool())
        flags |= office::PdfFlag::Tagged;
    if (settings.value(QStringLiteral("pdf/pdfa"), false).toBool())
        flags |= office::PdfFlag::ArchiveA2b;
    return flags;
}

}  // namespace pendrel::programs
