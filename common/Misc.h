#pragma once
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/WindowSurface.h"

namespace pendrel::Misc {

// Places the window in the middle of the screen; halves of a twip are kept.
void CenterForm(WindowSurface& window, const Screen& screen);

// True when the file system reports a modification time for the path. Never throws.
bool FileExists(const FileSystem& fileSystem, const Text& path) noexcept;

}  // namespace pendrel::Misc
