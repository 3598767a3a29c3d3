// The bytes between the window's process and the helper.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {
namespace {

// A stream over bytes that records the largest read asked of it.
struct ByteStream {
    std::string bytes;
    std::size_t at = 0, largestAsk = 0;
    ReadExactly Reader() {
        return [this](char* out, std::size_t size) {
            largestAsk = std::max(largestAsk, size);
            if (size > bytes.size() - at) return false;
            std::copy_n(bytes.data() + at, size, out);
            at += size;
            return true;
        };
    }
};

std::string Frame(const std::string& payload) {
    const auto n = static_cast<std::uint32_t>(payload.size());
    return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + payload;
}

TEST(OfficeProtocol, MessagesCrossASocketIntactAndBrokenStreamsAreRefused) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    Message sent{MessageKind::Load,
                 7,
                 3,
                 Outcome::Encrypted,
                 1ull << 40,
                 12345,
                 PdfFlag::Tagged | PdfFlag::ArchiveA2b,
                 4000000000u,
                 std::string("/x/\0zero\nline \xff bytes.doc", 26)};
    ASSERT_TRUE(SendMessage(ends[0], sent));
    EXPECT_EQ(ReceiveMessage(ends[1]), sent);

    std::string encoded = EncodeMessage(sent);
    EXPECT_FALSE(DecodeMessage(encoded.substr(0, encoded.size() - 1)).has_value());
    EXPECT_FALSE(DecodeMessage(encoded + "x").has_value());
    std::string unknownFlag = encoded;
    unknownFlag[1 + 4 + 4 + 1 + 8 + 8] = 4;  // no such kind of PDF
    EXPECT_FALSE(DecodeMessage(unknownFlag).has_value());
    encoded[0] = 99;  // no such kind
    EXPECT_FALSE(DecodeMessage(encoded).has_value());

    // A frame cut short by the other side's end is no message.
    ASSERT_EQ(::write(ends[0], "\x10\x00\x00\x00\x01", 5), 5);
    ::close(ends[0]);
    EXPECT_FALSE(ReceiveMessage(ends[1]).has_value());
    // Writing to a side that has gone fails instead of raising SIGPIPE.
    EXPECT_FALSE(SendMessage(ends[1], sent));
    ::close(ends[1]);
}

TEST(OfficeProtocol, FramesAreReadWholeOrNotAtAll) {
    Message close;
    close.kind = MessageKind::Close;
    close.id = 9;
    close.docId = 4;
    ByteStream two{Frame(EncodeMessage(close)) + Frame("")};
    EXPECT_EQ(ReceiveMessage(two.Reader()), close);
    EXPECT_EQ(ReadFrame(two.Reader()), "");  // an empty frame is a frame, but no message
    EXPECT_FALSE(ReadFrame(two.Reader()).has_value());

    // The length says more than follows.
    ByteStream shorter{std::string("\x10\x00\x00\x00", 4) + "fifteen bytes.."};
    EXPECT_FALSE(ReadFrame(shorter.Reader()).has_value());
    ByteStream header{std::string("\x10\x00", 2)};
    EXPECT_FALSE(ReadFrame(header.Reader()).has_value());

    // A frame holds at most a mebibyte: one longer is refused before its bytes are read.
    ByteStream largest{Frame(std::string(1 << 20, 'x'))};
    EXPECT_EQ(ReadFrame(largest.Reader())->size(), 1048576u);
    ByteStream larger{Frame(std::string((1 << 20) + 1, 'x'))};
    EXPECT_FALSE(ReadFrame(larger.Reader()).has_value());
    EXPECT_EQ(larger.largestAsk, 4u);
    ByteStream huge{std::string("\xFF\xFF\xFF\xFF", 4)};
    EXPECT_FALSE(ReadFrame(huge.Reader()).has_value());
    EXPECT_EQ(huge.largestAsk, 4u);
}

}  // namespace
}  // namespace pendrel::office
