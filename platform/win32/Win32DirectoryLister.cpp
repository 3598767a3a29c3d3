#include "platform/win32/Win32DirectoryLister.h"

#include "platform/win32/Win32Api.h"

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

// Windows' own attribute bits 2, 4 and 16 are the ones the mask speaks of.
std::uint32_t MaskableAttributes(DWORD attributes) {
    return static_cast<std::uint32_t>(attributes) & MaskedAttributes;
}

}  // namespace

std::optional<std::vector<DirectoryLister::Entry>> Win32DirectoryLister::List(const Text& folder,
                                                                              const Text& pattern,
                                                                              std::uint32_t mask) {
    Text search = folder;
    if (!search.empty() && search.back() != '\\' && search.back() != '/') search += '\\';
    search += pattern;

    WIN32_FIND_DATAW found{};
    // The basic form leaves out the short 8.3 names, which the program never shows.
    const HANDLE handle = FindFirstFileExW(Wide(search).c_str(), FindExInfoBasic, &found,
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
        auto name = NarrowExact(found.cFileName);
        if (!name) continue;  // no path could carry it to the queue
        entries.push_back({std::move(*name), attributes});
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
