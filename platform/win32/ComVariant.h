#pragma once
// The program's Variant to and from COM's VARIANT.
#include "platform/Automation.h"
#include "platform/win32/Win32Api.h"

#include <oleauto.h>

namespace pendrel::win32 {

// Fills out (cleared by the caller with VariantClear) from value.
void ToVariant(const Variant& value, VARIANT& out);
// Reads a result; types the program never receives are refused with an AutomationError.
Variant FromVariant(const VARIANT& value);

}  // namespace pendrel::win32
