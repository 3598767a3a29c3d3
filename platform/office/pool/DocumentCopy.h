#pragma once
// A document is never rendered where the user keeps it: it is copied into the spool first, so
// that the renderer neither writes beside it (lock files) nor holds it open, and the render is
// of the file as it was when the copy was made.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pendrel::office {

// What tells one version of a file from another.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path now; nothing when there is none to read.
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct DocumentCopy {
    enum class Status { Copied, Missing, Unreadable, NotAFile, NoSpace, Failed };
    Status status = Status::Failed;
    FileIdentity identity;  // of the source as the copy began
    std::string reason;     // the system's words for what failed
};

// Copies size bytes from in to out; false with errno set when a read or write fails or in
// ends early.
bool CopyBytes(int in, int out, std::uint64_t size);

// Copies source to target (a new file), keeping nothing of it when the copy fails.
DocumentCopy CopyDocument(const std::string& source, const std::string& target);

}  // namespace pendrel::office
