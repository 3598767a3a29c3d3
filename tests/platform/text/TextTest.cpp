#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/CaseFold.h"
#include "platform/text/Utf16.h"
#include "platform/text/Utf8.h"

namespace pendrel {
namespace {

// A stray continuation byte, a truncated sequence, an overlong '/', an encoded surrogate and
// a value beyond U+10FFFF are malformed: replaced on the way to UTF-16, shown byte by byte.
TEST(Utf, RoundTripsEveryPlaneAndNeverPassesMalformedInputOn) {
    const Text text = "A\xC3\xA9\xE6\x96\x87\xF0\x9D\x84\x9E";  // A é 文 𝄞
    EXPECT_EQ(Utf16::FromUtf8(text), (std::u16string{u'A', 0xE9, 0x6587, 0xD834, 0xDD1E}));
    EXPECT_EQ(Utf16::ToUtf8(Utf16::FromUtf8(text)), text);
    EXPECT_TRUE(Utf8::IsValid(text));
    EXPECT_EQ(Utf8::Visible(text), text);
    EXPECT_EQ(Utf16::FromUtf8("a\xE6\x96"), u"a\uFFFD");
    EXPECT_EQ(Utf16::FromUtf8(Text("\xC0\xAF") + "b"), u"\uFFFDb") << "never a slash";
    EXPECT_EQ(Utf16::FromUtf8("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(Utf16::ToUtf8(std::u16string{0xD834, u'x'}), "\xEF\xBF\xBDx");
    for (const char* bad : {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(Utf8::IsValid(bad)) << bad;
    EXPECT_EQ(Utf8::Visible("caf\xE9.doc"), "caf\\xE9.doc");
    EXPECT_EQ(Utf8::Visible("a\xE6\x96/\xC0\xAF"), "a\\xE6\\x96/\\xC0\\xAF");
}

// Upper-cased as Windows folds Latin, Greek and Cyrillic, character by character ("_" after
// the letters), shorter first, case alone by bytes; a character beyond the Basic Multilingual
// Plane where its first UTF-16 unit puts it, before U+E000.
TEST(CaseFold, ListsNamesInTheOrderWindowsListsThem) {
    const std::vector<std::string_view> ordered{
        "57843.doc",       "AIOOB-Tap.doc", "B.doc",
        "Bug45877.doc",    "c.doc",         "doc",
        "doc.doc",         "_x.doc",        "éa.doc",
        "Éb.doc",          "σa.doc",        "Σb.doc",
        "ёa.doc",          "Ёb.doc",        "\xF0\x9F\x93\x84.doc",
        "\xEE\x80\x80.doc"};
    std::vector<std::string_view> names(ordered.rbegin(), ordered.rend());
    std::sort(names.begin(), names.end(), ListsBefore);
    EXPECT_EQ(names, ordered);
    EXPECT_TRUE(ListsBefore("A.doc", "a.doc"));
    EXPECT_FALSE(ListsBefore("a.doc", "A.doc"));
}

}  // namespace
}  // namespace pendrel
