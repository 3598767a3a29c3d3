#include "queue/Queue.h"

#include <cctype>

namespace pendrel::Queue {

void Append(ListView& list, const Text& path) {
    const std::size_t index = list.AddItem(path);
    list.SetSubItem(index, StatusColumn, Queued);
}

void RemoveSelected(ListView& list) {
    if (const auto index = list.SelectedIndex()) list.RemoveItem(*index);
}

bool HasDocEnding(const Text& path) {
    // Any non-ASCII character ends in a byte >= 0x80, so comparing the last three bytes
    // compares the last three characters.
    if (path.size() < 3) return false;
    const char* ending = "doc";
    for (std::size_t i = 0; i < 3; ++i) {
        const auto c = static_cast<unsigned char>(path[path.size() - 3 + i]);
        if (std::tolower(c) != ending[i]) return false;
    }
    return true;
}

}  // namespace pendrel::Queue
