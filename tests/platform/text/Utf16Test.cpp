#include "platform/text/Utf16.h"
#include "platform/text/Utf8.h"

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

TEST(Utf8, OnlyWellFormedTextIsValid) {
    EXPECT_TRUE(Utf8::IsValid("\xd0\x9e\xd1\x82\xd1\x87\xd1\x91\xd1\x82.doc"));
    EXPECT_TRUE(Utf8::IsValid("\xf0\x9f\x93\x84.doc"));
    for (const char* bad : {"\xff", "\xc0\xaf", "\xed\xa0\x80", "\xe2\x82", "\xf4\x90\x80\x80"})
        EXPECT_FALSE(Utf8::IsValid(bad)) << bad;
}

}  // namespace
}  // namespace pendrel
