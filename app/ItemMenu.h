#pragma once
// The menu of one queued document: its PDF opened or shown in its folder, or the item removed.
#include <cstddef>

#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"

namespace pendrel::ItemMenu {

inline constexpr const char* OpenPdf = "Open PDF";
inline constexpr const char* ShowInFolder = "Show in Folder";
inline constexpr const char* Remove = "Remove";

struct Surroundings {
    ListView& list;
    const FileSystem& fileSystem;
    Shell& shell;
    MessageBoxes& messageBoxes;
};

// Offers "Open PDF" (only when the document's PDF is there), "Show in Folder" (the PDF when
// it is there, else the document) and "Remove" for the item at index, and does what is chosen.
void ShowFor(const Surroundings& menu, std::size_t index);

}  // namespace pendrel::ItemMenu
