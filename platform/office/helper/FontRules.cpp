#include "platform/office/helper/FontRules.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace pendrel::office {
namespace {

struct Replacement {
    const char* wordFont;
    const char* substitute;
};

// Each chosen by its page counts against Word's on the corpus (bench/fidelity_bench) and by
// its average advance width on English text (em per character, in the comments). Calibri,
// Cambria, Arial, Times New Roman, Courier New and Arial Narrow need no entry: Debian's
// fontconfig already gives their metric-compatible fonts (Carlito, Caladea, Liberation,
// Liberation Sans Narrow).
constexpr Replacement Replacements[] = {
    // Where Wine's Tahoma (0.484) is missing: 0.490, where Noto Sans, the fallback, is 0.504.
    {"Tahoma", "Liberation Sans"},
    // The widest sans-serif (0.544), as Verdana is: a Verdana document Word set on 3 pages
    // takes 4 in Noto Sans and 3 in DejaVu Sans.
    {"Verdana", "DejaVu Sans"},
    // Carlito (0.439), Calibri's match, is far closer than the Noto Sans fallback (0.504).
    {"Calibri Light", "Carlito"},
    // Wider than Times as Georgia is (0.515 against 0.456); Gelasio is not in Debian 12.
    {"Georgia", "Noto Serif"},
    // A Helvetica-like grotesque: a Univers document Word set on 4 pages takes 5 in Noto Sans
    // and 4 in Liberation Sans.
    {"Univers", "Liberation Sans"},
    {"Univers 55", "Liberation Sans"},
    {"Univers 45 Light", "Liberation Sans"},
    // Word's own fonts under the names of their Cyrillic code pages: the same widths.
    {"Times New Roman Cyr", "Liberation Serif"},
    {"Arial Cyr", "Liberation Sans"},
    {"Courier New Cyr", "Liberation Mono"},
    // The Macintosh's wide sans-serif: 19 pages in DejaVu Sans as before Noto, 21 in Noto Sans.
    {"Geneva", "DejaVu Sans"},
};

// Of Wine's folder only Tahoma: its other fonts are bitmap fonts and stand-ins that would take
// the place of better matches.
const std::string WineTahoma = std::string(WineFontFolder) + "/tahoma*";

// The configuration fontconfig would have read without us (never our own file, which would
// include itself).
std::string SystemConfiguration(const std::filesystem::path& ours) {
    const char* chosen = std::getenv("FONTCONFIG_FILE");
    return chosen != nullptr && chosen[0] == '/' && ours != chosen ? chosen
                                                                   : "/etc/fonts/fonts.conf";
}

std::string Rules(const std::filesystem::path& file, const std::string& cache) {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n  <include ignore_missing=\"yes\">" +
        SystemConfiguration(file) + "</include>\n  <cachedir>" + cache + "</cachedir>\n  <dir>" +
        WineFontFolder + "</dir>\n  <selectfont><rejectfont><glob>" + WineFontFolder +
        "/*</glob></rejectfont><acceptfont><glob>" + WineTahoma +
        "</glob></acceptfont></selectfont>\n";
    // Accepted right after the named font: used only when that font is not installed.
    for (const Replacement& r : Replacements)
        xml += std::string("  <alias binding=\"same\"><family>") + r.wordFont +
               "</family><accept><family>" + r.substitute + "</family></accept></alias>\n";
    return xml + "</fontconfig>\n";
}

}  // namespace

bool WriteFontRules(const std::string& profileFolder, std::string& error) {
    const std::filesystem::path folder = std::filesystem::path(profileFolder) / "fontconfig";
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    const std::filesystem::path file = folder / "fonts.conf";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << Rules(file, (folder / "cache").string());
    out.close();
    if (!out) {
        error = "cannot write " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    ::setenv("FONTCONFIG_FILE", file.c_str(), 1);
    return true;
}

}  // namespace pendrel::office
