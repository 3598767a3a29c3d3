#pragma once
// The layers the helper shuts its renderer in before LibreOffice starts, each where the system
// offers it, all of them where it can:
//   1. namespaces (Sandbox.h): a view of the file system with only what rendering needs, no
//      network, no /proc of other processes;
//   2. Landlock (Landlock.h): the same files readable, only the profile and the helper's
//      folder writable, no program started, whatever the view;
//   3. a seccomp filter (SeccompFilter.h): no socket but a local one.
// The helper reports the strongest isolation it reached: namespaces; else Landlock with the
// filter; else none, which it refuses to render with unless told it may.
//
// PENDREL_OFFICE_SANDBOX_OFF (a comma-separated list of "namespaces", "landlock", "seccomp";
// "usernamespace" makes the namespaces without a user namespace, as root does where there is
// none) leaves layers out, to test the ones below them. It can only take isolation away, and a
// helper left with none still refuses to render unless told it may.
#include <string>

#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {

struct IsolationReached {
    Isolation level = Isolation::None;
    std::string missing;  // the layers that could not be had and why; empty when none
};

// Must be called while the process has one thread.
IsolationReached Isolate(const std::string& profile, const std::string& helperFolder);

}  // namespace pendrel::office
