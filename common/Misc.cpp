#include "common/Misc.h"

namespace pendrel::Misc {

void CenterForm(WindowSurface& window, const Screen& screen) {
    window.SetLeft((screen.WidthTwips() - window.Width()) / 2.0f);
    window.SetTop((screen.HeightTwips() - window.Height()) / 2.0f);
}

bool FileExists(const FileSystem& fileSystem, const Text& path) noexcept {
    return !path.empty() && fileSystem.ModificationTime(path).has_value();
}

}  // namespace pendrel::Misc
