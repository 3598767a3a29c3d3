#pragma once
// Add Files: the documents picked in the file-open dialog go to the end of the queue.
#include <cstdint>
#include <vector>

#include "platform/Controls.h"

namespace pendrel::AddFiles {

// Read-only box initially on, several files, Explorer style, long names.
inline constexpr std::int32_t DialogFlags = 0x280201;
inline constexpr const char* DialogTitle =
    "Add File(s) - Use Ctrl & Shift to select multiple files";
inline constexpr const char* DialogFilter = "Word Documents (*.doc)|*.doc|";

// Splits at every NUL, keeping empty parts; an empty text gives no parts.
std::vector<Text> SplitAtNul(const Text& text);

// The full paths the dialog's result names: the one path itself, or, for a folder followed by
// names, folder + separator + name for each (the separator is always inserted, so a root
// folder gives a doubled one). Every picked file, documents or not, in the dialog's order.
std::vector<Text> PickedPaths(const Text& dialogResult, char separator);

// Sets up and shows the dialog, then queues each picked file that ends in "doc", in order.
void PickAndQueue(CommonDialog& dialog, char separator, ListView& list);

}  // namespace pendrel::AddFiles
