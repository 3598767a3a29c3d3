#include "platform/win32/Win32DirectoryLister.h"

#include "platform/win32/Win32Api.h"

#include <string>

#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

constexpr std::uint32_t MaskedAttributes =
    FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory;

struct FindCloser {
    HANDLE handle;
    ~FindCloser() { FindClose(handle); }
};

struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() { CloseHandle(handle); }
};

// What keeps an entry from being queued or entered, if anything. Paths go to the system's
// calls as they are, without the "\\?\" form that lifts MAX_PATH.
Text ProblemOf(const std::wstring& folder, const std::wstring& name, bool nameIsText) {
    if (!nameIsText) return NameIsNotText;
    // The folder, a separator and the name, and the terminating NUL the system counts.
    if (folder.size() + 1 + name.size() + 1 > MAX_PATH)
        return "its path is longer than the system allows (" + std::to_string(MAX_PATH - 1) +
               " characters)";
    return {};
}

// Windows' own attribute bits 2, 4 and 16 are the ones the mask speaks of.
std::uint32_t MaskableAttributes(DWORD attributes) {
    return static_cast<std::uint32_t>(attributes) & MaskedAttributes;
}

}  // namespace

std::optional<std::vector<DirectoryLister::Entry>> Win32DirectoryLister::List(const Text& folder,
                                                                              const Text& pattern,
                                                                              std::uint32_t mask) {
    std::wstring parent = Wide(folder);
    if (!parent.empty() && (parent.back() == L'\\' || parent.back() == L'/')) parent.pop_back();
    const std::wstring search = (parent.empty() ? L"" : parent + L'\\') + Wide(pattern);

    WIN32_FIND_DATAW found{};
    // The basic form leaves out the short 8.3 names, which the program never shows.
    const HANDLE handle = FindFirstFileExW(search.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    std::vector<Entry> entries;
    if (handle == INVALID_HANDLE_VALUE) {
        // An empty match is a listing with nothing in it; a missing folder is no listing.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
        return std::nullopt;
    }
    const FindCloser closer{handle};
    do {
        const std::uint32_t attributes = MaskableAttributes(found.dwFileAttributes);
        if ((attributes & ~mask) != 0) continue;
        // A name with half a surrogate pair is listed as near as text comes, with its problem.
        const auto exact = NarrowExact(found.cFileName);
        entries.push_back({exact ? *exact : Narrow(found.cFileName), attributes,
                           ProblemOf(parent, found.cFileName, exact.has_value())});
    } while (FindNextFileW(handle, &found));
    return entries;
}

std::optional<Text> Win32DirectoryLister::FolderIdentity(const Text& folder) {
    // Backup semantics: the only way CreateFile opens a folder.
    const HANDLE handle =
        CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const HandleCloser closer{handle};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    const std::uint64_t index =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index);
}

}  // namespace pendrel::win32
