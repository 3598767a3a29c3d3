#pragma once
// The temporary file a finished PDF is copied to beside its name when it comes from another
// file system, and then renamed over that name: ".pendrel-<process id>-XXXXXX.tmp". The
// writer's process id in the name tells a file being written now from one that a program
// killed in the middle left behind.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Text.h"

namespace pendrel::PartialFile {

inline constexpr std::string_view Prefix = ".pendrel-";
inline constexpr std::string_view Suffix = ".tmp";

// The name's template for mkstemps: the writer's id, then six characters made unique.
inline Text NameTemplate(std::int64_t writer) {
    return Text(Prefix) + std::to_string(writer) + "-XXXXXX" + Text(Suffix);
}

// True for the name of a partial file, with or without a writer's id (the earlier form had
// none).
inline bool IsPartialName(std::string_view name) {
    return name.size() > Prefix.size() + Suffix.size() && name.starts_with(Prefix) &&
           name.ends_with(Suffix);
}

// The writer's process id the name carries; nothing when it carries none.
inline std::optional<std::int64_t> WriterOf(std::string_view name) {
    if (!IsPartialName(name)) return std::nullopt;
    const char* first = name.data() + Prefix.size();
    const char* last = name.data() + name.size() - Suffix.size();
    std::int64_t writer = 0;
    const auto [end, error] = std::from_chars(first, last, writer);
    if (error != std::errc() || end == first || end == last || *end != '-' || writer <= 0)
        return std::nullopt;
    return writer;
}

}  // namespace pendrel::PartialFile
