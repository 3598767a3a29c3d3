#pragma once
// The calls on "Word.Application" as Word takes them, written out here apart from
// platform/WordContract.h: a change to the contract's table fails the tests that compare with
// these instead of passing on both sides at once.
#include <vector>

#include "platform/Automation.h"

namespace pendrel::fakes {

// Documents.Open(FileName) in its sixteen-argument form.
inline std::vector<Variant> OpenAsWordTakesIt(const Text& path) {
    std::vector<Variant> args(16, Variant::Missing());
    args[0] = Variant::String(path);
    return args;
}

// PrintOut of the whole document in the background, one copy, to the printer and not to a
// file: Background, Append, Range, OutputFileName, From, To, Item, Copies, Pages, PageType,
// PrintToFile, Collate, FileName, ActivePrinterMacGX, ManualDuplexPrint, PrintZoomColumn,
// PrintZoomRow, PrintZoomPaperWidth, PrintZoomPaperHeight.
inline std::vector<Variant> PrintOutAsWordTakesIt() {
    return {Variant::Bool(true), Variant::Missing(), Variant::Int32(0),    Variant::Missing(),
            Variant::Missing(),  Variant::Missing(), Variant::Int32(0),    Variant::Int16(1),
            Variant::String(""), Variant::Int32(0),  Variant::Bool(false), Variant::Bool(true),
            Variant::String(""), Variant::Missing(), Variant::Bool(false), Variant::Int16(0),
            Variant::Int16(0),   Variant::Int16(0),  Variant::Int16(0)};
}

}  // namespace pendrel::fakes
