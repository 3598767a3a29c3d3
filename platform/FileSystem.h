#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "platform/Text.h"

namespace pendrel {

// A failure reported by the platform, with a number and a description a user can read.
class SystemError : public std::runtime_error {
public:
    SystemError(std::int32_t number, const Text& description)
        : std::runtime_error(description), number_(number), description_(description) {}
    std::int32_t Number() const { return number_; }
    const Text& Description() const { return description_; }

private:
    std::int32_t number_;
    Text description_;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // "\" on Windows, "/" elsewhere.
    virtual char Separator() const = 0;
    // Seconds since the epoch of the last modification, or nothing when it can't be read.
    // Never throws.
    virtual std::optional<std::int64_t> ModificationTime(const Text& path) const noexcept = 0;
    // Size in bytes of a regular file, or nothing when it can't be read. Never throws.
    virtual std::optional<std::uint64_t> FileSize(const Text& path) const noexcept = 0;
    // Throws SystemError when the file can't be deleted.
    virtual void DeleteFile(const Text& path) = 0;
};

}  // namespace pendrel
