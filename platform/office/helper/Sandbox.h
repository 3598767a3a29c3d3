#pragma once
// The helper's view of the machine, narrowed before LibreOffice starts: namespaces of its own
// for users, mounts, the network and System V IPC, with no way out of the network one, and a
// file system that shows only what rendering needs (RenderingFiles.h), its profile and the
// spool its documents are copied into. No /proc is shown but the helper's own memory figures,
// so no other process's root can be walked into. Whatever a document links to elsewhere, on
// the network or on the disk, is simply not there for it.
#include <string>
#include <vector>

namespace pendrel::office {

struct SandboxView {
    std::string newRoot;                // an empty folder of ours to build the view in
    std::vector<std::string> writable;  // shown at their own paths, writable, when they exist
    std::vector<std::string> readOnly;  // shown at their own paths when they exist
    bool userNamespace = true;          // false: without one, as root must where none is had
};

// Enters the sandbox. Must be called while the process has one thread. Empty when done; else
// why it could not be done, and the process goes on with the view it had.
std::string EnterSandbox(const SandboxView& view);

}  // namespace pendrel::office
