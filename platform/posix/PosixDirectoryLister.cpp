#include "platform/posix/PosixDirectoryLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/WildcardMatch.h"
#include "platform/text/CaseFold.h"
#include "platform/text/Utf8.h"

namespace pendrel::posix {
namespace {

constexpr std::uint32_t MaskedAttributes =
    FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsHiddenName(std::string_view name) {
    return name.size() > 0 && name[0] == '.' && name != "." && name != "..";
}

// Directory, ordinary file, or nothing for what cannot be queued or entered.
std::optional<std::uint32_t> KindFromMode(mode_t mode) {
    if (S_ISDIR(mode)) return FileAttribute::Directory;
    if (S_ISREG(mode)) return 0u;
    return std::nullopt;
}

std::optional<std::uint32_t> KindOf(DIR* dir, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return FileAttribute::Directory;
        case DT_REG:
            return 0u;
        case DT_LNK:
        case DT_UNKNOWN: {
            // Follows the link: a broken one fails here and is left out.
            struct stat st {};
            if (::fstatat(::dirfd(dir), entry.d_name, &st, 0) != 0) return std::nullopt;
            return KindFromMode(st.st_mode);
        }
        default:
            return std::nullopt;
    }
}

// What keeps an entry from being queued or entered, if anything.
Text ProblemOf(const Text& folder, std::string_view name) {
    if (!Utf8::IsValid(name)) return NameIsNotText;
    // The folder, a separator and the name, and the terminating NUL the system counts.
    const std::size_t separator = folder.ends_with('/') ? 0 : 1;
    if (folder.size() + separator + name.size() + 1 > PATH_MAX)
        return "its path is longer than the system allows (" + std::to_string(PATH_MAX - 1) +
               " bytes)";
    return {};
}

bool MaskAdmits(std::uint32_t attributes, std::uint32_t mask) {
    return (attributes & MaskedAttributes & ~mask) == 0;
}

}  // namespace

std::optional<std::vector<DirectoryLister::Entry>> PosixDirectoryLister::List(const Text& folder,
                                                                              const Text& pattern,
                                                                              std::uint32_t mask) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return std::nullopt;

    std::vector<Entry> entries;
    // A read error part-way ends the listing with what was read so far.
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!MatchesWildcard(name, pattern)) continue;
        const std::uint32_t hidden = IsHiddenName(name) ? FileAttribute::Hidden : 0u;
        // The mask can already refuse a hidden name, whatever its kind: no stat for it.
        if (!MaskAdmits(hidden, mask)) continue;
        const auto kind = KindOf(dir.get(), *entry);
        if (!kind || !MaskAdmits(*kind | hidden, mask)) continue;
        entries.push_back({Text(name), *kind | hidden, ProblemOf(folder, name)});
    }
    // As Windows lists them: by name, without regard to case. The file system's own order
    // here is its hash order, which no user could follow.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return ListsBefore(a.name, b.name); });
    return entries;
}

std::optional<Text> PosixDirectoryLister::FolderIdentity(const Text& folder) {
    struct stat st {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

}  // namespace pendrel::posix
