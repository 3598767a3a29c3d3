#pragma once
// What /proc says of a process: the one place either side of the engine reads it. The pool
// reads its helpers (their memory against the ceiling, whether someone stopped them); a helper
// reads itself, to report its memory with each answer.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pendrel::office {

// The process's resident memory in bytes; 0 when it cannot be read.
std::uint64_t ResidentBytesOf(pid_t pid);
// This process's.
std::uint64_t OwnResidentBytes();

// Whether the process is stopped by a signal (SIGSTOP, SIGTSTP: state 'T'). False when it has
// gone or cannot be read.
bool IsStopped(pid_t pid);

// The state letter of a /proc/<pid>/stat line ("pid (name) S ..."), read after the last ')'
// since the name may hold anything; nothing when the line is not of that form.
std::optional<char> StateOfStatLine(const std::string& line);

// The memory the system can still give (MemAvailable); 0 when it cannot be read.
std::uint64_t AvailableMemory();

}  // namespace pendrel::office
