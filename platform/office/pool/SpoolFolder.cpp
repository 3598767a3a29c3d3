#include "platform/office/pool/SpoolFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/PartialFile.h"
#include "platform/office/pool/DocumentCopy.h"

namespace pendrel::office {
namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Copies from into a new partial file beside target; its name, or empty with error set. The
// name carries this process's id, so that a window killed in the middle of the copy leaves a
// file the next window can tell from one being written now (PartialFile.h).
std::string CopyBeside(const std::string& from, const std::string& target, std::string& error) {
    std::string temporary = FolderOf(target) + "/" + PartialFile::NameTemplate(::getpid());
    int out = ::mkstemps(temporary.data(), static_cast<int>(PartialFile::Suffix.size()));
    if (out < 0) {
        error = std::strerror(errno);
        return {};
    }
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    bool copied = in >= 0 && ::fstat(in, &info) == 0 &&
                  CopyBytes(in, out, static_cast<std::uint64_t>(info.st_size)) &&
                  ::fchmod(out, 0644) == 0 && ::fsync(out) == 0;
    int copyErrno = errno;
    if (in >= 0) ::close(in);
    if (::close(out) != 0 && copied) {
        copied = false;
        copyErrno = errno;
    }
    if (copied) return temporary;
    ::unlink(temporary.c_str());
    error = std::strerror(copyErrno);
    return {};
}

// A window that was killed leaves its spool folder behind; the folder's name carries its
// process id, so the next engine can tell an abandoned folder from a live one.
void RemoveAbandonedSpools(const std::string& parent) {
    const std::string prefix = "pendrel-spool-";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
            std::error_code ignored;
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }
}

}  // namespace

SpoolFolder::~SpoolFolder() {
    RemoveAll();
}

std::string SpoolFolder::Parent() const {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
}

bool SpoolFolder::MakeLocked() {
    if (!path_.empty()) return true;
    const std::string parent = Parent();
    RemoveAbandonedSpools(parent);
    std::string pattern = parent + "/pendrel-spool-" + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return false;
    path_ = pattern;
    return true;
}

std::string SpoolFolder::NewFile() {
    std::lock_guard lock(mutex_);
    if (!MakeLocked()) return {};
    return path_ + "/ready-" + std::to_string(++next_) + ".pdf";
}

std::string SpoolFolder::NewHelperFolder() {
    std::lock_guard lock(mutex_);
    if (!MakeLocked()) return {};
    const std::string folder = path_ + "/helper-" + std::to_string(++next_);
    if (::mkdir(folder.c_str(), 0700) != 0) return {};
    return folder;
}

void SpoolFolder::RemoveAll() {
    std::lock_guard lock(mutex_);
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    path_.clear();
}

std::string SpoolFolder::Path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

bool MoveIntoPlace(const std::string& from, const std::string& target, std::string& error) {
    // On the same file system a rename is already all-or-nothing.
    if (::rename(from.c_str(), target.c_str()) == 0) return true;
    if (errno != EXDEV) {
        error = std::strerror(errno);
        ::unlink(from.c_str());
        return false;
    }
    std::string temporary = CopyBeside(from, target, error);
    ::unlink(from.c_str());
    if (temporary.empty()) return false;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace pendrel::office
