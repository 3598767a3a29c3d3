#pragma once
// A document is never rendered where the user keeps it: it is copied into the spool first, so
// that the renderer neither writes beside it (lock files) nor holds it open, and the render is
// of the file as it was when the copy was made. What is plainly no Word document (by its bytes,
// or by a size no Word document has) is refused before a byte of it is copied.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "platform/office/formats/DocumentSniffer.h"

namespace pendrel::office {

// What tells one version of a file from another. The change time is the one no program can
// set back: an edit that keeps the size and restores the modification time still changes it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    long changedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path now; nothing when there is none to read.
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct DocumentCopy {
    enum class Status {
        Copied,
        Missing,
        Unreadable,
        NotAFile,
        NotWord,   // kind says what it is
        TooLarge,  // larger than any Word document (PoolPolicy's TooLargeForWord)
        NoSpace,
        TimedOut,  // the deadline passed
        Stopped,   // stop was requested
        Failed,
    };
    Status status = Status::Failed;
    FileIdentity identity;  // of the source as the copy began
    FileKind kind = FileKind::NotWord;
    std::string reason;  // the system's words for what failed
};

// Copies size bytes from in to out, a slice at a time; false with errno set when a read or
// write fails or in ends early, ETIMEDOUT when the deadline passes, ECANCELED on stop.
bool CopyBytes(
    int in, int out, std::uint64_t size,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max(),
    std::stop_token stop = {});

// Sniffs source and copies it to target (a new file) unless it is refused, by the deadline;
// nothing of target is kept when the copy fails.
DocumentCopy CopyDocument(const std::string& source, const std::string& target,
                          std::chrono::steady_clock::time_point deadline,
                          std::stop_token stop = {});

}  // namespace pendrel::office
