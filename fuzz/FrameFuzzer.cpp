// The frames and messages one side of the engine reads from the other, on any stream of bytes:
// every message read from it is read again the same after encoding.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/office/protocol/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pendrel::office;
    std::size_t at = 0;
    const ReadExactly stream = [&](char* out, std::size_t count) {
        if (count > size - at) return false;
        std::copy_n(data + at, count, out);
        at += count;
        return true;
    };
    while (const auto frame = ReadFrame(stream)) {
        const auto message = DecodeMessage(*frame);
        if (message && EncodeMessage(*message) != *frame) __builtin_trap();
    }
    return 0;
}
