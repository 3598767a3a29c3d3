#include "platform/office/helper/SeccompFilter.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <vector>

namespace pendrel::office {
namespace {

#if defined(__x86_64__)
constexpr std::uint32_t ThisArchitecture = AUDIT_ARCH_X86_64;
constexpr std::uint32_t X32SyscallBit = 0x40000000;
#elif defined(__aarch64__)
constexpr std::uint32_t ThisArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "the seccomp filter knows only x86-64 and AArch64"
#endif

using Program = std::vector<sock_filter>;

constexpr std::uint32_t Allow = SECCOMP_RET_ALLOW;
constexpr std::uint32_t Refuse(int error) {
    return SECCOMP_RET_ERRNO | (static_cast<std::uint32_t>(error) & SECCOMP_RET_DATA);
}

void Load(Program& p, std::uint32_t offset) {
    p.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offset));
}
void Return(Program& p, std::uint32_t action) {
    p.push_back(BPF_STMT(BPF_RET | BPF_K, action));
}
// When the loaded value equals value, returns action; else goes on.
void ReturnIf(Program& p, std::uint32_t value, std::uint32_t action) {
    p.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, value, 0, 1));
    Return(p, action);
}

constexpr std::uint32_t ArchitectureAt = offsetof(seccomp_data, arch);
constexpr std::uint32_t NumberAt = offsetof(seccomp_data, nr);
// The low half of the first argument, on a little-endian machine.
constexpr std::uint32_t FirstArgumentAt = offsetof(seccomp_data, args);

Program NetworkFilter() {
    Program p;
    Load(p, ArchitectureAt);
    p.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ThisArchitecture, 1, 0));
    Return(p, SECCOMP_RET_KILL_PROCESS);  // calls of another architecture could go round it
    Load(p, NumberAt);
#if defined(__x86_64__)
    p.push_back(BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, X32SyscallBit, 0, 1));
    Return(p, Refuse(ENOSYS));
#endif
    ReturnIf(p, SYS_connect, Refuse(EACCES));
    ReturnIf(p, SYS_bind, Refuse(EACCES));
    ReturnIf(p, SYS_listen, Refuse(EACCES));
    ReturnIf(p, SYS_io_uring_setup, Refuse(ENOSYS));
    // socket(domain, ...) and socketpair(domain, ...): local ones only.
    p.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_socket, 1, 0));
    p.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_socketpair, 0, 4));
    Load(p, FirstArgumentAt);
    ReturnIf(p, AF_UNIX, Allow);
    Return(p, Refuse(EAFNOSUPPORT));
    Return(p, Allow);
    return p;
}

}  // namespace

std::string RefuseNetwork() {
    Program program = NetworkFilter();
    sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    if (::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0)
        return std::string("setting the seccomp filter: ") + std::strerror(errno);
    return {};
}

}  // namespace pendrel::office
