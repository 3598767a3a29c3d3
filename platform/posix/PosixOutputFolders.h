#pragma once
#include "platform/OutputFolders.h"

namespace pendrel::posix {

class PosixOutputFolders : public OutputFolders {
public:
    // New folders get mode 0777 less the umask, as mkdir -p makes them.
    bool Make(const Text& folder, Text& error) override;
    std::optional<std::int64_t> ModifiedNanoseconds(const Text& path) const noexcept override;
};

}  // namespace pendrel::posix
