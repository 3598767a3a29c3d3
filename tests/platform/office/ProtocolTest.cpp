// The bytes between the window's process and the helper.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {
namespace {

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

}  // namespace
}  // namespace pendrel::office
