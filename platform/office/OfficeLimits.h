#pragma once
// Every limit of the embedded engine, in one place.
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "platform/WordContract.h"

namespace pendrel::office {

using namespace std::chrono_literals;

// LibreOffice needs a few seconds to start; a cold profile takes longer.
constexpr std::chrono::milliseconds HelperStartLimit = 90s;
// Opening one document. The slowest corpus document loads in a few seconds.
constexpr std::chrono::milliseconds LoadLimit = 60s;
// Rendering one document to PDF: the printer's promise to the batch.
constexpr std::chrono::milliseconds RenderLimit = WordContract::PrinterRenderLimit;
// The limits a helper's work is held to; tests shorten them.
struct HelperLimits {
    std::chrono::milliseconds start = HelperStartLimit;
    std::chrono::milliseconds load = LoadLimit;
    std::chrono::milliseconds render = RenderLimit;
};

// A helper asked to end (the window closing, a helper retired) is waited for this long before
// it is killed; an idle one ends in a few milliseconds.
constexpr std::chrono::milliseconds HelperEndGrace = 1s;
// How long the printer's Save As dialog stays open waiting for a name.
constexpr std::chrono::milliseconds SaveAsDialogLimit = 300s;

// LibreOffice keeps memory from every document it has opened (caches, fonts, leaked objects),
// so a long batch would grow without bound: the helper is replaced after this many documents
// or once it holds more than this much resident memory, whichever comes first.
constexpr int HelperDocumentLimit = 200;
constexpr std::uint64_t HelperMemoryCeiling = 1536ull * 1024 * 1024;

// The pool: one helper per core, but never more than memory allows. A helper holds about
// HelperTypicalPeak while it renders ordinary documents (measured on the test corpus: see the
// conversion benchmark's figures); the pool is kept within half of the memory available when
// it starts, so that the rest of the desktop keeps room to work.
constexpr std::uint64_t HelperTypicalPeak = 512ull * 1024 * 1024;
constexpr unsigned MostHelpers = 16;

// How far the pool renders ahead of the batch. A document counts while it is copied, rendered
// or waiting as a finished PDF for the batch. The count keeps every helper of the pool busy
// through a run of short documents while bounding the work thrown away when the user removes
// items or closes the window; the bytes (copies and PDFs in the temporary folder) keep a run of
// 10,000 large documents from filling the disk.
constexpr std::size_t LookAheadDocuments = 12;
constexpr std::uint64_t LookAheadBytes = 512ull * 1024 * 1024;

// The window's thread waits in slices of this length; an answer from the helper ends a slice
// early (EventPump::Wake), so the slice only bounds how often the time limit is checked.
constexpr std::chrono::milliseconds WaitSlice = 250ms;

}  // namespace pendrel::office
