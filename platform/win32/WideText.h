#pragma once
// The program's UTF-8 text to and from the UTF-16 text of the wide Win32 calls.
#include <optional>
#include <string>

#include "platform/Text.h"

namespace pendrel::win32 {

std::wstring Wide(const Text& text);
Text Narrow(const std::wstring& text);
Text Narrow(const wchar_t* text);
// Nothing when the UTF-16 text holds a surrogate without its partner (a file name can).
std::optional<Text> NarrowExact(const std::wstring& text);

// The system's own description of a Win32 or COM error number, without its line break.
Text DescribeError(unsigned long number);

}  // namespace pendrel::win32
