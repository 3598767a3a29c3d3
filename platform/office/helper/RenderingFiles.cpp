#include "platform/office/helper/RenderingFiles.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/office/helper/FontRules.h"

namespace pendrel::office {
namespace {

constexpr const char* LibreOfficeFolders[] = {"/usr/lib/libreoffice", "/usr/share/libreoffice",
                                              "/etc/libreoffice",
                                              // its bundled extensions
                                              "/var/lib/libreoffice", "/var/spool/libreoffice"};

constexpr const char* FontFolders[] = {"/usr/share/fonts",      "/usr/local/share/fonts",
                                       "/usr/share/fontconfig", "/etc/fonts",
                                       "/var/cache/fontconfig", WineFontFolder};

constexpr const char* SystemData[] = {
    "/etc/ld.so.cache", "/etc/localtime", "/etc/nsswitch.conf", "/usr/lib/locale",
    "/usr/share/locale", "/usr/share/zoneinfo",
    "/usr/share/liblangtag",                     // language tags
    "/usr/share/hyphen", "/usr/share/hunspell",  // hyphenation and spelling, when installed
    "/dev/urandom",
    // The helper's own memory, which it reports.
    "/proc/self/statm"};

// The folders of the system's shared libraries, which LibreOffice loads many of as it goes:
// the one the C library was loaded from (say /usr/lib/x86_64-linux-gnu), and its namesakes
// under /lib and /usr/lib where /usr is not merged.
std::vector<std::string> LibraryFolders() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&std::fopen), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code error;
    const auto folder = std::filesystem::canonical(info.dli_fname, error).parent_path();
    if (error) return {};
    std::vector<std::string> folders{folder.string()};
    const std::string name = folder.filename().string();
    for (const std::string& other : {"/lib/" + name, "/usr/lib/" + name})
        if (std::filesystem::is_directory(other, error) &&
            !std::filesystem::equivalent(other, folder, error))
            folders.push_back(other);
    return folders;
}

}  // namespace

std::vector<std::string> SystemFilesRead() {
    std::vector<std::string> files;
    files.insert(files.end(), std::begin(LibreOfficeFolders), std::end(LibreOfficeFolders));
    files.insert(files.end(), std::begin(FontFolders), std::end(FontFolders));
    files.insert(files.end(), std::begin(SystemData), std::end(SystemData));
    for (std::string& folder : LibraryFolders()) files.push_back(std::move(folder));
    return files;
}

std::vector<std::string> SystemFilesWritten() {
    return {"/dev/null"};
}

std::vector<std::string> UserFontFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return folders;
    const std::string base = home;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* cache = std::getenv("XDG_CACHE_HOME");
    folders.push_back(base + "/.fonts");
    folders.push_back(
        (data != nullptr && data[0] == '/' ? std::string(data) : base + "/.local/share") +
        "/fonts");
    folders.push_back(
        (cache != nullptr && cache[0] == '/' ? std::string(cache) : base + "/.cache") +
        "/fontconfig");
    return folders;
}

}  // namespace pendrel::office
