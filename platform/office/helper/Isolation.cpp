#include "platform/office/helper/Isolation.h"

#include <sys/prctl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/office/helper/Landlock.h"
#include "platform/office/helper/RenderingFiles.h"
#include "platform/office/helper/Sandbox.h"
#include "platform/office/helper/SeccompFilter.h"

namespace pendrel::office {
namespace {

constexpr const char* LayersOffVariable = "PENDREL_OFFICE_SANDBOX_OFF";

bool LeftOut(std::string_view layer) {
    const char* off = std::getenv(LayersOffVariable);
    if (off == nullptr) return false;
    std::string_view list = off;
    while (!list.empty()) {
        const auto comma = list.find(',');
        if (list.substr(0, comma) == layer) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

// Runs a layer unless it is left out: empty when it is in place, else why not.
template <typename Layer>
std::string Apply(std::string_view name, Layer layer) {
    if (LeftOut(name)) return std::string("left out by ") + LayersOffVariable;
    return layer();
}

void Note(std::string& missing, std::string_view layer, const std::string& why) {
    if (why.empty()) return;
    if (!missing.empty()) missing += "; ";
    missing += std::string(layer) + ": " + why;
}

}  // namespace

IsolationReached Isolate(const std::string& profile, const std::string& helperFolder) {
    std::vector<std::string> readable = SystemFilesRead();
    for (std::string& folder : UserFontFolders()) readable.push_back(std::move(folder));
    std::vector<std::string> writable = SystemFilesWritten();
    writable.push_back(profile);
    writable.push_back(helperFolder);

    IsolationReached reached;
    const std::string namespaces = Apply("namespaces", [&] {
        return EnterSandbox(
            {helperFolder + "/root", writable, readable, !LeftOut("usernamespace")});
    });
    // Landlock and seccomp need it, and no program the renderer starts gains privileges.
    std::string landlock, seccomp;
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        landlock = seccomp = std::string("no_new_privs: ") + std::strerror(errno);
    } else {
        landlock = Apply("landlock", [&] { return RestrictFileAccess({readable, writable}); });
        seccomp = Apply("seccomp", [] { return RefuseNetwork(); });
    }
    Note(reached.missing, "namespaces", namespaces);
    Note(reached.missing, "Landlock", landlock);
    Note(reached.missing, "seccomp", seccomp);
    if (namespaces.empty())
        reached.level = Isolation::Namespaces;
    else if (landlock.empty() && seccomp.empty())
        reached.level = Isolation::Landlock;
    return reached;
}

}  // namespace pendrel::office
