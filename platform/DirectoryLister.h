#pragma once
// Listing a folder's entries with the Windows attribute-mask rules.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace pendrel {

namespace FileAttribute {
constexpr std::uint32_t Hidden = 2;
constexpr std::uint32_t System = 4;
constexpr std::uint32_t Directory = 16;
}  // namespace FileAttribute

// The problem of an entry whose name is no text the program can carry.
inline constexpr const char* NameIsNotText = "its name is not valid text";

class DirectoryLister {
public:
    struct Entry {
        Text name;  // as the file system has it, undecodable bytes and all
        std::uint32_t attributes = 0;
        // Why the entry can be neither queued nor entered (its name is no text the program
        // can carry, its path is longer than the system allows); empty when it can.
        Text problem;
    };

    virtual ~DirectoryLister() = default;
    // The entries of folder whose names match pattern ("*" for all; wildcards matched
    // without regard to case). An entry that is hidden, system or a directory is listed
    // only when mask holds each of those attributes it has; ordinary files always are.
    // Entries whose kind can't be read are left out; entries that match but cannot be used
    // are listed with their problem. Nothing when the folder can't be listed.
    virtual std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                                   std::uint32_t mask) = 0;
    // Something that names the folder itself, whatever path reached it (so a link back to
    // an ancestor is recognised); nothing when it can't be read.
    virtual std::optional<Text> FolderIdentity(const Text& folder) = 0;
};

}  // namespace pendrel
