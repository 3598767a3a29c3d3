#include "queue/AddFiles.h"

#include "queue/Queue.h"

namespace pendrel::AddFiles {

std::vector<Text> SplitAtNul(const Text& text) {
    std::vector<Text> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = text.find('\0', start);
        if (nul == Text::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, nul - start));
        start = nul + 1;
    }
}

std::vector<Text> PickedPaths(const Text& dialogResult, char separator) {
    std::vector<Text> parts = SplitAtNul(dialogResult);
    if (parts.size() <= 1) return parts;
    const Text& folder = parts[0];
    std::vector<Text> paths;
    paths.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + separator + parts[i]);
    return paths;
}

void PickAndQueue(CommonDialog& dialog, char separator, ListView& list) {
    dialog.SetFlags(DialogFlags);
    dialog.SetDialogTitle(DialogTitle);
    dialog.SetFilter(DialogFilter);
    dialog.ShowOpen();
    for (const Text& path : PickedPaths(dialog.FileName(), separator))
        if (Queue::HasDocEnding(path)) Queue::Append(list, path);
}

}  // namespace pendrel::AddFiles
