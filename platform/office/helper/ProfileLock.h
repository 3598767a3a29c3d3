#pragma once
#include <string>

namespace pendrel::office {

// LibreOffice must not use one profile from two processes at once (two Pendrel windows, or a
// helper starting while the one it replaces still ends). Returns the first of base, base-2,
// ... that no other helper holds, created if missing and held until this process ends; the
// base itself when none can be had.
std::string LockProfile(const std::string& base);

}  // namespace pendrel::office
