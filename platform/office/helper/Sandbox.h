#pragma once
// The helper's view of the machine, narrowed before LibreOffice starts: a network namespace
// of its own with no way out, and a file system that shows only what rendering needs (the
// system's programs, libraries and fonts, its profile, the spool its documents are copied
// into). Whatever a document links to elsewhere, on the network or on the disk, is simply not
// there for it.
#include <string>
#include <vector>

namespace pendrel::office {

struct SandboxView {
    std::string newRoot;                // an empty folder of ours to build the view in
    std::vector<std::string> writable;  // shown at their own paths, writable
    std::vector<std::string> readOnly;  // shown at their own paths when they exist
};

// Enters the sandbox. Must be called while the process has one thread. Empty when done; else
// why it could not be done, and the process goes on with the view it had.
std::string EnterSandbox(const SandboxView& view);

// The folders of a user's own fonts and their cache, which documents expect to find.
std::vector<std::string> UserFontFolders();

}  // namespace pendrel::office
