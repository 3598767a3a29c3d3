#pragma once
#include "platform/DirectoryLister.h"

namespace pendrel::posix {

// Folder listings with the Windows attribute rules mapped onto POSIX:
// - a name beginning with "." is hidden ("." and ".." themselves are plain directories, as
//   Windows reports them); nothing is a system file;
// - a symbolic link counts as what it points to, so a link to a folder is a directory; a
//   broken link is left out;
// - a name that is not UTF-8, a path longer than the system allows, and anything that is
//   neither a regular file nor a directory (pipes, sockets, devices: none can be converted) are
//   listed with their problem, so that the user can be told of it;
// - entries come in Windows' order, by name without regard to case.
// The type comes from readdir where the file system reports it; only links and entries of
// unknown type cost a stat, and only once their name has matched the pattern.
class PosixDirectoryLister : public DirectoryLister {
public:
    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override;
    // "device:inode" of the folder the path leads to, links followed.
    std::optional<Text> FolderIdentity(const Text& folder) override;
};

}  // namespace pendrel::posix
