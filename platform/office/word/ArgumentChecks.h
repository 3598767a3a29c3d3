#pragma once
// The argument lists "Word.Application" on the embedded engine accepts. A call that Word would
// take but this engine cannot honour fails loudly rather than printing something else.
#include <vector>

#include "platform/Automation.h"

namespace pendrel::office {

// Documents.Open: sixteen positional arguments, FileName a String and the other fifteen
// omitted. Throws an AutomationError naming the first wrong argument.
void CheckOpenArguments(const std::vector<Variant>& args);

// PrintOut: the nineteen arguments of a background print of the whole document, one copy,
// to the printer (not to a file), in order and of their types.
void CheckPrintOutArguments(const std::vector<Variant>& args);

// Quit: at most its three optional arguments.
void CheckQuitArguments(const std::vector<Variant>& args);

}  // namespace pendrel::office
