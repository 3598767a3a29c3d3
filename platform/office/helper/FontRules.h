#pragma once
#include <string>

namespace pendrel::office {

// Wine's look-alike of Tahoma, whose widths are Tahoma's (fonts-wine); the font rules use it
// and the sandbox must show it.
inline constexpr const char* WineFontFolder = "/usr/share/wine/fonts";

// Writes the helper's own fontconfig file, <profile>/fontconfig/fonts.conf: the system's
// configuration, then, for each font Word documents name that Debian lacks, the installed font
// whose widths come closest, so that lines and pages break where Word broke them. A named font
// that is installed is still used. Points fontconfig at the file (FONTCONFIG_FILE) for
// LibreOffice, which must not have started yet. False, with error set, when it cannot be
// written.
bool WriteFontRules(const std::string& profileFolder, std::string& error);

}  // namespace pendrel::office
