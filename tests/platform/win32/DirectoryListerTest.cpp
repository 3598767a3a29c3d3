// Folder listings and files on Windows' own file calls, in a folder the test builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/win32/Win32Api.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32DirectoryLister.h"
#include "platform/win32/Win32FileSystem.h"

namespace pendrel::win32 {
namespace {

namespace fs = std::filesystem;

class TempFolder : public ::testing::Test {
protected:
    const fs::path root =
        fs::temp_directory_path() / ("pendrel-lister-" + std::to_string(GetCurrentProcessId()));
    Win32DirectoryLister lister;

    void SetUp() override { fs::create_directory(root); }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(root))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(root);
    }

    // False when the file system cannot keep the attributes.
    bool Make(const wchar_t* name, DWORD attributes = 0, bool folder = false) {
        const fs::path path = root / name;
        if (folder) {
            fs::create_directory(path);
        } else {
            CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        if (attributes == 0) return true;
        SetFileAttributesW(path.c_str(), attributes | (folder ? FILE_ATTRIBUTE_DIRECTORY : 0));
        return (GetFileAttributesW(path.c_str()) & attributes) == attributes;
    }

    Text At(const char* name) const { return Narrow(root.wstring()) + "\\" + name; }

    std::vector<Text> Names(const Text& pattern, std::uint32_t mask) {
        std::vector<Text> names;
        if (const auto listing = lister.List(At(""), pattern, mask))
            for (const auto& e : *listing) names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(TempFolder, TheMaskAdmitsHiddenSystemAndFolderEntriesOnlyWhenItHoldsTheirAttributes) {
    for (const wchar_t* name : {L"a.doc", L"B.DOC", L"notes.txt"}) Make(name);
    Make(L"sub", 0, true);
    Make(L"ro.doc", FILE_ATTRIBUTE_READONLY);
    if (!Make(L"hidden.doc", FILE_ATTRIBUTE_HIDDEN) ||
        !Make(L"system.doc", FILE_ATTRIBUTE_SYSTEM) ||
        !Make(L"both.doc", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) ||
        !Make(L"hiddenfolder", FILE_ATTRIBUTE_HIDDEN, true)) {
        GTEST_SKIP() << "this file system cannot keep the hidden and system attributes";
    }
    using Names = std::vector<Text>;
    // Files: hidden and system ones included, folders left out; case does not matter.
    EXPECT_EQ(this->Names("*.doc", 2 | 4),
              (Names{"B.DOC", "a.doc", "both.doc", "hidden.doc", "ro.doc", "system.doc"}));
    EXPECT_EQ(this->Names("*.doc", 2), (Names{"B.DOC", "a.doc", "hidden.doc", "ro.doc"}));
    EXPECT_EQ(this->Names("*.doc", 0), (Names{"B.DOC", "a.doc", "ro.doc"}));
    // Folders: the plain ones, ordinary files always; a hidden folder is never entered.
    EXPECT_EQ(this->Names("*", 16),
              (Names{".", "..", "B.DOC", "a.doc", "notes.txt", "ro.doc", "sub"}));
    const auto none = lister.List(At(""), "nothing*", 16);
    ASSERT_TRUE(none) << "no match is an empty listing";
    EXPECT_TRUE(none->empty());
    EXPECT_FALSE(lister.List(At("missing\\"), "*", 16)) << "a missing folder is none";
}

// Listed, but with what keeps it from the queue: a path the system's calls cannot take.
TEST_F(TempFolder, AnEntryWhosePathIsTooLongIsListedWithItsProblem) {
    const std::wstring deep(200 - root.wstring().size(), L'd');
    const std::wstring folder = L"\\\\?\\" + (root / deep).wstring();
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring longName(70, L'n');
    for (const std::wstring& name : {std::wstring(L"short.doc"), longName + L".doc"})
        CloseHandle(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const auto listing = lister.List(Narrow((root / deep).wstring()), "*.doc", 0);
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->size(), 2u);
    for (const auto& entry : *listing) {
        if (entry.name == "short.doc") {
            EXPECT_EQ(entry.problem, "");
        } else {
            EXPECT_EQ(entry.name, Narrow(longName) + ".doc");
            EXPECT_EQ(entry.problem, "its path is longer than the system allows (259 characters)");
        }
    }
}

TEST_F(TempFolder, AFolderIsKnownWhateverPathReachesIt) {
    Make(L"sub", 0, true);
    Make(L"other", 0, true);
    Make(L"file.doc");
    const auto sub = lister.FolderIdentity(At("sub"));
    ASSERT_TRUE(sub);
    EXPECT_EQ(lister.FolderIdentity(At("other\\..\\sub")), sub);
    EXPECT_NE(lister.FolderIdentity(At("other")), sub);
    EXPECT_FALSE(lister.FolderIdentity(At("file.doc"))) << "a file is no folder";
    EXPECT_FALSE(lister.FolderIdentity(At("missing")));
}

// Sizes and missing files are also met through the window's drop test.
TEST_F(TempFolder, AFileIsDeletedAndDeletingAMissingOneFailsNamingIt) {
    Make(L"a.pdf");
    Win32FileSystem files;
    const Text pdf = At("a.pdf");
    EXPECT_EQ(files.FileSize(pdf), 0u) << "an empty file has a size";
    files.DeleteFile(pdf);
    EXPECT_FALSE(files.ModificationTime(pdf));
    try {
        files.DeleteFile(pdf);
        FAIL() << "deleting a missing file must fail";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(e.Description().find(pdf), Text::npos);
    }
}

// An old PDF is set aside under another name, hidden, and put back over a newer one.
TEST_F(TempFolder, AFileIsRenamedOverAnotherAndHiddenAndShownAgain) {
    Make(L"a.pdf");
    std::ofstream(root / "new.pdf") << "newer";
    Win32FileSystem files;
    files.RenameFile(At("new.pdf"), At("a.pdf"));
    EXPECT_FALSE(files.ModificationTime(At("new.pdf")));
    EXPECT_EQ(files.FileSize(At("a.pdf")), 5u) << "the file renamed replaces the one there";
    try {
        files.RenameFile(At("new.pdf"), At("b.pdf"));
        FAIL() << "renaming a missing file must fail";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(e.Description().find("new.pdf"), Text::npos);
    }

    if (!Make(L"hidden.pdf", FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system cannot keep the hidden attribute";
    const std::wstring path = (root / "a.pdf").wstring();
    const auto attributes = [&] {
        return GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    };
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    files.SetHidden(At("a.pdf"), true);
    EXPECT_EQ(attributes(), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN})
        << "the other attributes stay";
    files.SetHidden(At("a.pdf"), false);
    EXPECT_EQ(attributes(), DWORD{FILE_ATTRIBUTE_READONLY});
    files.SetHidden(At("gone.pdf"), true);  // nothing there: nothing happens
}

}  // namespace
}  // namespace pendrel::win32
