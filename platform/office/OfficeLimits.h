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
// A helper found stopped by a signal we did not send (SIGSTOP) for this long is given up and
// its document tried again on another: a debugger's or a shell's brief stop passes unnoticed.
constexpr std::chrono::milliseconds StoppedHelperLimit = 5s;

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

// The limits a helper's work is held to; tests shorten them. The load limit covers the copy of
// the document into the spool as well as its opening.
struct HelperLimits {
    std::chrono::milliseconds start = HelperStartLimit;
    std::chrono::milliseconds load = LoadLimit;
    std::chrono::milliseconds render = RenderLimit;
    std::chrono::milliseconds stopped = StoppedHelperLimit;
    std::uint64_t memory = HelperMemoryCeiling;
};

// No Word document is larger: Word itself opens none above 512 MB, pictures included (the
// 97-2003 format's own offsets stop at 2 GB). A larger file is refused before it is copied.
constexpr std::uint64_t LargestDocument = 512ull * 1024 * 1024;

// The pool: one helper per core, but never more than memory allows. A helper holds about
// HelperTypicalPeak while it renders ordinary documents (measured on the test corpus: see the
// conversion benchmark's figures); the pool is kept within half of the memory available when
// it starts, so that the rest of the desktop keeps room to work.
constexpr std::uint64_t HelperTypicalPeak = 512ull * 1024 * 1024;
constexpr unsigned MostHelpers = 16;

// How far the pool renders ahead of the batch. A document counts while it is copied, rendered
// or waiting as a finished PDF for the batch. The bytes (copies and PDFs in the temporary
// folder) are the real limit: they keep a run of 10,000 large documents from filling the disk.
// The count grows with the pool, so that every helper stays busy through a run of short
// documents while one slow document holds the batch, and bounds the work thrown away when the
// user removes items or closes the window.
constexpr std::size_t LookAheadDocumentsPerHelper = 16;
constexpr std::uint64_t LookAheadBytes = 512ull * 1024 * 1024;

// The window's thread waits in slices of this length; an answer from the helper ends a slice
// early (EventPump::Wake), so the slice only bounds how often the time limit is checked.
constexpr std::chrono::milliseconds WaitSlice = 250ms;

}  // namespace pendrel::office
