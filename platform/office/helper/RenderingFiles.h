#pragma once
// What of the machine LibreOffice reads to render a document, found by watching it render:
// its own folders, the system's libraries and locale data, the fonts and fontconfig's
// configuration, the few files of /etc it reads, and /dev/null and /dev/urandom. Both the
// namespaces' view and the Landlock rules show exactly this, and nothing else of the system.
#include <string>
#include <vector>

namespace pendrel::office {

// Read only; each where it exists.
std::vector<std::string> SystemFilesRead();
// Read and written.
std::vector<std::string> SystemFilesWritten();

// The folders of a user's own fonts and their cache, which documents expect to find.
std::vector<std::string> UserFontFolders();

}  // namespace pendrel::office
