#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Win32Api.h"

#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t EpochDifference = 116444736000000000LL;

std::optional<WIN32_FILE_ATTRIBUTE_DATA> AttributesOf(const Text& path) noexcept {
    try {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        return data;
    } catch (...) {
        return std::nullopt;  // out of memory for the wide path: nothing can be read
    }
}

}  // namespace

std::optional<std::int64_t> Win32FileSystem::ModificationTime(const Text& path) const noexcept {
    const auto data = AttributesOf(path);
    if (!data) return std::nullopt;
    const std::int64_t ticks =
        (static_cast<std::int64_t>(data->ftLastWriteTime.dwHighDateTime) << 32) |
        data->ftLastWriteTime.dwLowDateTime;
    return (ticks - EpochDifference) / 10000000;
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(const Text& path) const noexcept {
    const auto data = AttributesOf(path);
    if (!data || (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return (static_cast<std::uint64_t>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
}

bool Win32FileSystem::IsOpenForWriting(const Text& path) const noexcept {
    // Sharing reading only is refused while any other handle may write the file.
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

PathKind Win32FileSystem::KindOf(const Text& path, bool) const noexcept {
    const auto data = AttributesOf(path);
    if (!data) return PathKind::Missing;
    if (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    if (data->dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return PathKind::Device;
    return PathKind::File;
}

bool Win32FileSystem::IsReadOnly(const Text& path) const noexcept {
    const auto data = AttributesOf(path);
    return data && (data->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<std::string> Win32FileSystem::ReadStart(const Text& path,
                                                      std::size_t count) const noexcept {
    std::string bytes;
    std::wstring wide;
    try {
        bytes.resize(count);
        wide = Wide(path);
    } catch (...) {
        return std::nullopt;  // out of memory for the bytes or the wide path
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::size_t have = 0;
    bool failed = GetFileType(file) != FILE_TYPE_DISK;
    while (!failed && have < count) {
        DWORD got = 0;
        failed =
            !ReadFile(file, bytes.data() + have, static_cast<DWORD>(count - have), &got, nullptr);
        if (failed || got == 0) break;
        have += got;
    }
    CloseHandle(file);
    if (failed) return std::nullopt;
    bytes.resize(have);
    return bytes;
}

bool Win32FileSystem::ProcessHasEnded(std::int64_t processId) const noexcept {
    if (processId <= 0 || processId > 0xFFFFFFFFll) return true;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
    // Another user's live process refuses the handle: it is running.
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

void Win32FileSystem::DeleteFile(const Text& path) {
    if (!DeleteFileW(Wide(path).c_str())) {
        const DWORD error = GetLastError();
        throw SystemError(static_cast<std::int32_t>(error),
                          "Could not delete " + path + ": " + DescribeError(error));
    }
}

void Win32FileSystem::RenameFile(const Text& from, const Text& to) {
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        throw SystemError(static_cast<std::int32_t>(error),
                          "Could not rename " + from + " to " + to + ": " + DescribeError(error));
    }
}

void Win32FileSystem::SetHidden(const Text& path, bool hidden) noexcept {
    try {
        const std::wstring wide = Wide(path);
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return;
        const DWORD wanted = hidden ? attributes | FILE_ATTRIBUTE_HIDDEN
                                    : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
        if (wanted != attributes) SetFileAttributesW(wide.c_str(), wanted);
    } catch (...) {
        // Out of memory for the wide path: the attribute stays as it was.
    }
}

}  // namespace pendrel::win32
