#include "convert/Utf16.h"

#include <gtest/gtest.h>

namespace pendrel {
namespace {

TEST(Utf16, RoundTripsEveryPlaneAndReplacesMalformedInput) {
    const Text text = "A\xC3\xA9\xE6\x96\x87\xF0\x9D\x84\x9E";  // A é 文 𝄞
    EXPECT_EQ(Utf16::FromUtf8(text), (std::u16string{u'A', 0xE9, 0x6587, 0xD834, 0xDD1E}));
    EXPECT_EQ(Utf16::ToUtf8(Utf16::FromUtf8(text)), text);
    // A stray continuation byte, a truncated sequence, an overlong '/', an encoded surrogate.
    EXPECT_EQ(Utf16::FromUtf8("\x80"), u"\uFFFD");
    EXPECT_EQ(Utf16::FromUtf8("a\xE6\x96"), u"a\uFFFD");
    EXPECT_EQ(Utf16::FromUtf8(Text("\xC0\xAF") + "b"), u"\uFFFDb") << "never a slash";
    EXPECT_EQ(Utf16::FromUtf8("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(Utf16::ToUtf8(std::u16string{0xD834, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16::ToUtf8(std::u16string{0xDD1E}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace pendrel
