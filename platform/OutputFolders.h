#pragma once
// What a batch that writes its PDFs under a folder of the user's choosing needs from the file
// system beyond FileSystem: the folders to make, and times precise enough to tell whether a
// PDF was written after its document was last saved.
#include <cstdint>
#include <optional>

#include "platform/Text.h"

namespace pendrel {

class OutputFolders {
public:
    virtual ~OutputFolders() = default;
    // Makes folder and any missing folder above it. False, with error set to the system's
    // reason, when it cannot.
    virtual bool Make(const Text& folder, Text& error) = 0;
    // The last modification of the file at path, in nanoseconds since the epoch; nothing when
    // it cannot be read or is no regular file. Never throws.
    virtual std::optional<std::int64_t> ModifiedNanoseconds(const Text& path) const noexcept = 0;
};

}  // namespace pendrel
