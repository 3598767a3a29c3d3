#include "batch/Shard.h"

#include <charconv>

namespace pendrel::batch {
namespace {

std::optional<std::uint64_t> Decimal(std::string_view text) {
    std::uint64_t value = 0;
    if (text.empty() || text.front() == '+') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

bool Shard::Takes(std::string_view relativePath) const {
    return Fnv1a64(relativePath) % count == index;
}

std::optional<Shard> ParseShard(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto index = Decimal(text.substr(0, slash));
    const auto count = Decimal(text.substr(slash + 1));
    if (!index || !count || *count == 0 || *index >= *count) return std::nullopt;
    return Shard{*index, *count};
}

}  // namespace pendrel::batch
