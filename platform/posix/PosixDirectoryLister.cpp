#include "platform/posix/PosixDirectoryLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
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

// An entry's attributes, and why it can be neither queued nor entered when it is neither a
// folder nor a regular file.
struct Kind {
    std::uint32_t attributes = 0;
    Text problem;
};

Kind KindFromMode(mode_t mode) {
    if (S_ISDIR(mode)) return {FileAttribute::Directory, {}};
    if (S_ISREG(mode)) return {};
    if (S_ISFIFO(mode)) return {0, WhyNotAFile(PathKind::Pipe)};
    if (S_ISSOCK(mode)) return {0, WhyNotAFile(PathKind::Socket)};
    return {0, WhyNotAFile(PathKind::Device)};
}

// Nothing for a link that leads nowhere.
std::optional<Kind> KindOf(DIR* dir, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return KindFromMode(S_IFDIR);
        case DT_REG:
            return KindFromMode(S_IFREG);
        case DT_FIFO:
            return KindFromMode(S_IFIFO);
        case DT_SOCK:
            return KindFromMode(S_IFSOCK);
        case DT_CHR:
        case DT_BLK:
            return KindFromMode(S_IFCHR);
        default: {
            // A link or an entry of unknown type: the link is followed, and a broken one fails
            // here and is left out.
            struct stat st {};
            if (::fstatat(::dirfd(dir), entry.d_name, &st, 0) != 0) return std::nullopt;
            return KindFromMode(st.st_mode);
        }
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
        if (!kind || !MaskAdmits(kind->attributes | hidden, mask)) continue;
        Text problem = ProblemOf(folder, name);
        if (problem.empty()) problem = kind->problem;
        entries.push_back({Text(name), kind->attributes | hidden, std::move(problem)});
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
