#include "platform/office/process/ProcessStatus.h"

#include <unistd.h>

#include <fstream>

namespace pendrel::office {
namespace {

std::uint64_t ResidentBytesIn(const std::string& statmFile) {
    std::ifstream statm(statmFile);
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

std::uint64_t ResidentBytesOf(pid_t pid) {
    return pid > 0 ? ResidentBytesIn("/proc/" + std::to_string(pid) + "/statm") : 0;
}

std::uint64_t OwnResidentBytes() {
    return ResidentBytesIn("/proc/self/statm");
}

std::optional<char> StateOfStatLine(const std::string& line) {
    const auto close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size() || line[close + 1] != ' ')
        return std::nullopt;
    return line[close + 2];
}

bool IsStopped(pid_t pid) {
    if (pid <= 0) return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    return StateOfStatLine(line) == 'T';
}

std::uint64_t AvailableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key, unit;
    std::uint64_t value = 0;
    while (meminfo >> key >> value >> unit)
        if (key == "MemAvailable:") return value * 1024;
    return 0;
}

}  // namespace pendrel::office
