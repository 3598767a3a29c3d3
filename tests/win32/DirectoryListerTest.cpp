// Folder listings and files on Windows' own file calls, in a folder the test builds.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/Win32Api.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32DirectoryLister.h"
#include "platform/win32/Win32FileSystem.h"

namespace pendrel::win32 {
namespace {

class TempFolder : public ::testing::Test {
  protected:
    std::wstring root;

    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"pendrel-lister-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root.c_str(), nullptr);
    }
    void TearDown() override { Remove(root); }

    static void Remove(const std::wstring& path) {
        WIN32_FIND_DATAW found;
        const HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = path + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(path.c_str());
    }

    // False when the file system cannot keep the attributes.
    bool Make(const std::wstring& name, DWORD attributes, bool folder = false) {
        const std::wstring full = root + L"\\" + name;
        if (folder) {
            CreateDirectoryW(full.c_str(), nullptr);
        } else {
            CloseHandle(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        if (attributes == 0) return true;
        SetFileAttributesW(full.c_str(), attributes | (folder ? FILE_ATTRIBUTE_DIRECTORY : 0));
        return (GetFileAttributesW(full.c_str()) & attributes) == attributes;
    }

    Text Root() const { return Narrow(root); }

    std::vector<Text> Names(const Text& pattern, std::uint32_t mask) {
        Win32DirectoryLister lister;
        const auto listing = lister.List(Root() + "\\", pattern, mask);
        EXPECT_TRUE(listing);
        std::vector<Text> names;
        if (listing)
            for (const auto& e : *listing) names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(TempFolder, TheMaskAdmitsHiddenSystemAndFolderEntriesOnlyWhenItHoldsTheirAttributes) {
    Make(L"a.doc", 0);
    Make(L"B.DOC", 0);
    Make(L"notes.txt", 0);
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
    EXPECT_EQ(this->Names("nothing*", 16), Names{}) << "no match is an empty listing";

    Win32DirectoryLister lister;
    EXPECT_FALSE(lister.List(Root() + "\\missing\\", "*", 16)) << "a missing folder is none";
}

TEST_F(TempFolder, AFolderIsKnownWhateverPathReachesIt) {
    Make(L"sub", 0, true);
    Make(L"other", 0, true);
    Make(L"file.doc", 0);
    Win32DirectoryLister lister;
    const auto sub = lister.FolderIdentity(Root() + "\\sub");
    ASSERT_TRUE(sub);
    EXPECT_EQ(lister.FolderIdentity(Root() + "\\other\\..\\sub"), sub);
    EXPECT_NE(lister.FolderIdentity(Root() + "\\other"), sub);
    EXPECT_FALSE(lister.FolderIdentity(Root() + "\\file.doc")) << "a file is no folder";
    EXPECT_FALSE(lister.FolderIdentity(Root() + "\\missing"));
}

TEST_F(TempFolder, FilesExistDeleteAndReportWhatFailed) {
    Make(L"a.pdf", 0);
    Win32FileSystem files;
    const Text pdf = Root() + "\\a.pdf";
    EXPECT_TRUE(files.ModificationTime(pdf));
    EXPECT_EQ(files.FileSize(pdf), 0u);
    EXPECT_FALSE(files.ModificationTime(""));
    EXPECT_FALSE(files.ModificationTime(Root() + "\\missing\\a.pdf"));
    EXPECT_FALSE(files.FileSize(Root())) << "a folder has no file size";
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

}  // namespace
}  // namespace pendrel::win32
