#pragma once

namespace pendrel {
// The title every message box bears.
inline constexpr const char* ApplicationTitle = "Quarrendon";
// The product name the caption shows.
inline constexpr const char* ProductName = "Pendrel";
}  // namespace pendrel
