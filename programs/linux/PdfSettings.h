#pragma once
// The kind of PDF the window writes, from its settings file: Qt's QSettings in INI form,
// ~/.config/pendrel/pendrel.conf (or under $XDG_CONFIG_HOME):
//   [pdf]
//   tagged=true   ; tagged PDF, as --tagged
//   pdfa=true     ; PDF/A-2b, as --pdfa
#include <cstdint>

namespace pendrel::programs {

// PdfFlag bits of the engine's protocol.
std::uint8_t PdfFlagsFromSettings();

}  // namespace pendrel::programs
