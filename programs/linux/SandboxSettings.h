#pragma once
// The user's say over the document engine's isolation, from Pendrel's settings file
// (~/.config/pendrel/pendrel.conf):
//
//   [sandbox]
//   allow_unisolated=false
//
// By default a helper that cannot shut its renderer off from the rest of the system (no
// namespaces, no Landlock) renders nothing. With allow_unisolated=true it renders all the same
// and the user is told once per window.
#include <string>

#include "platform/office/pool/HelperProcess.h"

namespace pendrel::programs {

struct SandboxSettings {
    bool allowUnisolated = false;
    std::string file;  // where the setting is read from
};

SandboxSettings ReadSandboxSettings();

// The engine's policy for these settings; warn shows its text to the user, from any thread.
office::IsolationPolicy IsolationPolicyFor(const SandboxSettings& settings,
                                           std::function<void(const std::string&)> warn);

}  // namespace pendrel::programs
