#pragma once
// Every limit of the embedded engine, in one place.
#include <chrono>
#include <cstdint>

namespace pendrel::office {

using namespace std::chrono_literals;

// LibreOffice needs a few seconds to start; a cold profile takes longer.
constexpr std::chrono::milliseconds HelperStartLimit = 90s;
// Opening one document. The slowest corpus document loads in a few seconds.
constexpr std::chrono::milliseconds LoadLimit = 60s;
// Rendering one document to PDF.
constexpr std::chrono::milliseconds RenderLimit = 300s;
// Closing a document in the helper; a slower helper is simply replaced.
constexpr std::chrono::milliseconds CloseLimit = 10s;
// How long the printer's Save As dialog stays open waiting for a name.
constexpr std::chrono::milliseconds SaveAsDialogLimit = 300s;

// LibreOffice keeps memory from every document it has opened (caches, fonts, leaked objects),
// so a long batch would grow without bound: the helper is replaced after this many documents
// or once it holds more than this much resident memory, whichever comes first.
constexpr int HelperDocumentLimit = 200;
constexpr std::uint64_t HelperMemoryCeiling = 1536ull * 1024 * 1024;

// The window's thread waits in slices of this length; an answer from the helper ends a slice
// early (EventPump::Wake), so the slice only bounds how often the time limit is checked.
constexpr std::chrono::milliseconds WaitSlice = 250ms;

}  // namespace pendrel::office
