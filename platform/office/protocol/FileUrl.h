#pragma once
// file:// URLs for LibreOffice, which takes documents and its profile folder as URLs.
#include <string>

namespace pendrel::office {

// The URL of an absolute path: every byte other than an unreserved letter, digit, "-._~" or
// the separator "/" is percent-encoded, so spaces, "#", "%", "?", newlines and UTF-8 letters
// all reach the file system unchanged.
std::string FileUrlFromPath(const std::string& absolutePath);

}  // namespace pendrel::office
