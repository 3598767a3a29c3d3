#include "platform/qt/DroppedPaths.h"

#include <QDir>
#include <QUrl>

namespace pendrel::qt {

std::optional<std::vector<Text>> DroppedPaths(const QMimeData& data) {
    if (!data.hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty()) return std::nullopt;
    std::vector<Text> paths;
    paths.reserve(static_cast<std::size_t>(urls.size()));
    for (const QUrl& url : urls) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (path.isEmpty()) return std::nullopt;
        paths.push_back(QDir::toNativeSeparators(path).toStdString());
    }
    return paths;
}

}  // namespace pendrel::qt
