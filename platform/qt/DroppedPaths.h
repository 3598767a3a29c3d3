#pragma once
// What a drag over the window carries, as paths the queue can take.
#include <QMimeData>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace pendrel::qt {

// The local files and folders the data names, in the order the platform reports them;
// nothing when it names none or names anything that is not a local path (a web address,
// text), so such a drag is refused as a whole.
std::optional<std::vector<Text>> DroppedPaths(const QMimeData& data);

}  // namespace pendrel::qt
