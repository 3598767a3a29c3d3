#pragma once
// One share of a batch split across machines: the documents whose path, relative to the path
// they were found under, hashes to K modulo N. The hash is FNV-1a (64 bits) of the path's
// bytes, the same on every machine, so N runs given the same paths and K = 0...N-1 take every
// document exactly once between them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace pendrel::batch {

struct Shard {
    std::uint64_t index = 0;  // K
    std::uint64_t count = 1;  // N

    bool Takes(std::string_view relativePath) const;
};

// "K/N" with 0 <= K < N, both decimal; nothing for anything else.
std::optional<Shard> ParseShard(std::string_view text);

std::uint64_t Fnv1a64(std::string_view bytes);

}  // namespace pendrel::batch
