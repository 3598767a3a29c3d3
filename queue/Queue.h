#pragma once
// The queue is the list view's items: column 1 the document's path, column 2 its status.
#include "platform/Controls.h"

namespace pendrel::Queue {

inline constexpr const char* Queued = "Queued";
inline constexpr const char* Done = "Done";
inline constexpr int StatusColumn = 1;  // SubItems(1)

// Appends the document at the end of the queue with the status "Queued".
void Append(ListView& list, const Text& path);

// Removes the selected item; does nothing when no item is selected.
void RemoveSelected(ListView& list);

// True when the last three characters of the path, lower-cased, are "doc". No dot is looked
// for: "notes.adoc" and "mydoc" pass, "Report.docx" fails.
bool HasDocEnding(const Text& path);

}  // namespace pendrel::Queue
