// Folder listings on Windows' own file calls, in a folder the test builds: the system's name
// order, what the attribute mask admits, what keeps an entry from the queue, and a folder known
// whatever path reaches it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/Win32Api.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32DirectoryLister.h"

namespace pendrel::win32 {
namespace {

namespace fs = std::filesystem;

// False when the file system cannot keep the attributes.
bool Make(const fs::path& path, DWORD attributes = 0) {
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    SetFileAttributesW(path.c_str(), attributes);
    return (GetFileAttributesW(path.c_str()) & attributes) == attributes;
}

TEST(Win32DirectoryLister, ListsAFolderAsTheQueueNeedsIt) {
    const fs::path root =
        fs::temp_directory_path() / ("pendrel-lister-" + std::to_string(GetCurrentProcessId()));
    const auto at = [&](const std::wstring& name) { return Narrow((root / name).wstring()); };
    fs::create_directories(root / "sub");
    const struct Removed {
        fs::path path;
        ~Removed() {
            for (const fs::path& entry : fs::recursive_directory_iterator(path))
                SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            fs::remove_all(path);
        }
    } removed{root};
    Win32DirectoryLister lister;

    // Listed, but with what keeps it from the queue: a path the system's calls cannot take.
    const std::wstring deep(200 - root.wstring().size(), L'd'), longName(70, L'n');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + (root / deep).wstring()).c_str(), nullptr));
    for (const std::wstring& name : {std::wstring(L"short.doc"), longName + L".doc"})
        Make(L"\\\\?\\" + (root / deep / name).wstring());
    const auto listing = lister.List(at(deep), "*.doc", 0);
    ASSERT_EQ(listing.value().size(), 2u);
    EXPECT_EQ(listing->at(0).name, Narrow(longName) + ".doc");
    EXPECT_EQ(listing->at(0).problem, "its path is longer than the system allows (259 characters)");
    EXPECT_EQ(listing->at(1).name, "short.doc");
    EXPECT_EQ(listing->at(1).problem, "");

    const auto sub = lister.FolderIdentity(at(L"sub"));
    ASSERT_TRUE(sub);
    EXPECT_EQ(lister.FolderIdentity(at(L"sub\\..\\sub\\")), sub);
    EXPECT_NE(lister.FolderIdentity(at(deep)), sub);
    EXPECT_FALSE(lister.FolderIdentity(at(deep + L"\\short.doc"))) << "a file is no folder";
    EXPECT_FALSE(lister.FolderIdentity(at(L"missing")));

    // Made out of order: NTFS lists in its name order, case ignored, and so does Wine.
    for (const char* name : {"b.doc", "a9.doc", "notes.txt", "A.doc", "a10.doc"}) Make(root / name);
    if (!Make(root / "hidden.doc", FILE_ATTRIBUTE_HIDDEN) ||
        !Make(root / "system.doc", FILE_ATTRIBUTE_SYSTEM) ||
        !Make(root / deep, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY))
        GTEST_SKIP() << "this file system cannot keep the hidden and system attributes";
    const auto names = [&](const char* pattern, std::uint32_t mask) {
        const auto entries = lister.List(at(L""), pattern, mask);
        std::vector<Text> names;
        for (const auto& entry : entries.value()) names.push_back(entry.name);
        return names;
    };
    using Names = std::vector<Text>;
    EXPECT_EQ(names("*.doc", 2 | 4),
              (Names{"A.doc", "a10.doc", "a9.doc", "b.doc", "hidden.doc", "system.doc"}));
    EXPECT_EQ(names("*.DOC", 2), (Names{"A.doc", "a10.doc", "a9.doc", "b.doc", "hidden.doc"}));
    // Folders: the plain ones, and ordinary files always; a hidden folder is never entered.
    EXPECT_EQ(names("*", 16),
              (Names{".", "..", "A.doc", "a10.doc", "a9.doc", "b.doc", "notes.txt", "sub"}));
    EXPECT_EQ(lister.List(at(L""), "sub", 16).value().at(0).attributes, FileAttribute::Directory);
    EXPECT_TRUE(names("nothing*", 16).empty()) << "no match is an empty listing";
    EXPECT_FALSE(lister.List(at(L"missing\\"), "*", 16)) << "a missing folder is none";
}

}  // namespace
}  // namespace pendrel::win32
