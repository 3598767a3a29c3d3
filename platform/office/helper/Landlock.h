#pragma once
// Landlock (Linux 5.13 and later, no privilege needed): once applied, this process and every
// process it starts can read only below the folders it was given to read, write only below the
// ones it was given to write, start no program, connect to or listen on no TCP port, and
// neither signal nor reach the abstract sockets of processes outside, where the kernel knows
// how to refuse these. It cannot be undone.
#include <string>
#include <vector>

namespace pendrel::office {

struct FileAccess {
    std::vector<std::string> readable;  // folders and files that may be read, when they exist
    std::vector<std::string> writable;  // folders and files that may be read and written
};

// The Landlock version this kernel offers; 0 when it offers none.
int LandlockAbi();

// Applies the rules. Empty when done; else why not, and nothing was applied. The caller must
// have set no_new_privs.
std::string RestrictFileAccess(const FileAccess& access);

}  // namespace pendrel::office
