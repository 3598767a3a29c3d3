#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/CaseFold.h"
#include "platform/text/Utf16.h"
#include "platform/text/Utf8.h"

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
}

TEST(Utf8, OnlyWellFormedTextIsValidAndTheRestIsShownByteForByte) {
    EXPECT_TRUE(Utf8::IsValid("\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.doc"));
    EXPECT_TRUE(Utf8::IsValid("\xF0\x9F\x93\x84.doc"));
    for (const char* bad : {"\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(Utf8::IsValid(bad)) << bad;

    EXPECT_EQ(Utf8::Visible("caf\xC3\xA9 \xF0\x9F\x93\x84.doc"),
              "caf\xC3\xA9 \xF0\x9F\x93\x84.doc");
    EXPECT_EQ(Utf8::Visible("caf\xE9.doc"), "caf\\xE9.doc");
    EXPECT_EQ(Utf8::Visible("a\xE6\x96/\xC0\xAF"), "a\\xE6\\x96/\\xC0\\xAF");
}

TEST(CaseFold, UpperCasesTheScriptsWindowsFolds) {
    const std::vector<std::pair<char32_t, char32_t>> cases{
        {U'a', U'A'}, {U'Z', U'Z'}, {U'é', U'É'}, {U'ÿ', U'Ÿ'}, {U'÷', U'÷'}, {U'ß', U'ß'},
        {U'σ', U'Σ'}, {U'ς', U'Σ'}, {U'я', U'Я'}, {U'ё', U'Ё'}, {U'_', U'_'}, {U'文', U'文'}};
    for (auto [lower, upper] : cases) EXPECT_EQ(UpperCase(lower), upper) << int(lower);
}

// Upper-cased character by character ("_" after the letters), shorter first, case alone
// by bytes; a character beyond the Basic Multilingual Plane where its first UTF-16 unit
// puts it, before U+E000.
TEST(CaseFold, ListsNamesInTheOrderWindowsListsThem) {
    const std::vector<std::string_view> ordered{
        "57843.doc",       "AIOOB-Tap.doc", "B.doc",   "Bug45877.doc",
        "c.doc",           "doc",           "doc.doc", "picture.doc",
        "_x.doc",          "Éa.doc",        "éb.doc",  "\xF0\x9F\x93\x84.doc",
        "\xEE\x80\x80.doc"};
    std::vector<std::string_view> names(ordered.rbegin(), ordered.rend());
    std::sort(names.begin(), names.end(), ListsBefore);
    EXPECT_EQ(names, ordered);
    EXPECT_TRUE(ListsBefore("A.doc", "a.doc"));
    EXPECT_FALSE(ListsBefore("a.doc", "A.doc"));
    EXPECT_FALSE(ListsBefore("a.doc", "a.doc"));
}

}  // namespace
}  // namespace pendrel
