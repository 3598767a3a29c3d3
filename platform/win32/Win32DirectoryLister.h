#pragma once
// Folder listings on FindFirstFileExW, with the attribute-mask rules of DirectoryLister.
#include "platform/DirectoryLister.h"

namespace pendrel::win32 {

class Win32DirectoryLister : public DirectoryLister {
public:
    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override;
    // The volume's serial number and the folder's file index.
    std::optional<Text> FolderIdentity(const Text& folder) override;
};

}  // namespace pendrel::win32
