#pragma once
#include <string>

namespace pendrel::office {

// Writes the settings every helper runs with into the LibreOffice profile at profileFolder,
// before LibreOffice starts: a document reaches nothing outside itself (no linked picture,
// text or object is fetched, from the network or from local files), no macro runs, and no
// lock file is written; embedded Office documents print from their stored pictures; Word's
// fonts are replaced by their closest metric matches (FontRules.h). False, with error set, when
// they cannot be written.
bool WriteProfileSettings(const std::string& profileFolder, std::string& error);

}  // namespace pendrel::office
