// Conversions between UTF-16 and each code page, both ways, by the code page's real table.
#include "tools/keycheck/text/code_page.h"

#include "tools/keycheck/text/shown_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct CodePageCase {
    int codePage;
    const char* utf8;   // a text with characters of that code page
    std::string ansi;   // its bytes there
    const char* other;  // a character the code page lacks
};

// The bytes are those of each code page's published table: あ and 表 in Shift-JIS (表 ends in
// 0x5C, a backslash byte), 控 in GBK, 가 in Unified Hangul Code, 控制器 in Big5, and the 1252
// bytes that Windows maps to U+20AC and, unassigned, to U+0081.
const CodePageCase kCases[] = {
    {932, "RAID \xE3\x81\x82\xE8\xA1\xA8", "RAID \x82\xA0\x95\x5C", "\xEA\xB0\x80"},
    {936, "RAID \xE6\x8E\xA7", "RAID \xBF\xD8", "\xE3\x81\x82\xEA\xB0\x80"},
    {949, "RAID \xEA\xB0\x80", "RAID \xB0\xA1", "\xE2\x82\xAC\xE6\x8E\xA7\xE4\xB8\xAC"},
    {950, "RAID \xE6\x8E\xA7\xE5\x88\xB6\xE5\x99\xA8", "RAID \xB1\xB1\xA8\xEE\xBE\xB9",
     "\xE3\x81\x82"},
    {1252, "RAID \xE2\x82\xAC\xC2\x81\xC3\xA9", "RAID \x80\x81\xE9", "\xE3\x81\x82"},
};

TEST(CodePageTest, EachCodePageBothWays) {
    for (const CodePageCase& c : kCases) {
        const std::string utf16 = Utf8ToUtf16(c.utf8);
        std::uint32_t unconvertible = 1;
        EXPECT_EQ(Utf16ToCodePage(utf16, c.codePage, &unconvertible), c.ansi) << c.codePage;
        EXPECT_EQ(unconvertible, 0u) << c.codePage;
        EXPECT_EQ(Utf16ToUtf8(CodePageToUtf16(c.ansi, c.codePage)), c.utf8) << c.codePage;

        // A character the code page lacks becomes "?", and the first one is named.
        const std::string mixed = Utf8ToUtf16(std::string("a") + c.other + "b");
        const std::string converted = Utf16ToCodePage(mixed, c.codePage, &unconvertible);
        EXPECT_EQ(converted.front(), 'a') << c.codePage;
        EXPECT_NE(converted.find('?'), std::string::npos) << c.codePage;
        EXPECT_NE(unconvertible, 0u) << c.codePage;
    }
}

TEST(CodePageTest, ReportsShowEachCodePagesTextOnAUtf8Terminal) {
    for (const CodePageCase& c : kCases) {
        if (c.codePage != 1252) {
            EXPECT_EQ(Shown(c.ansi, c.codePage), c.utf8) << c.codePage;
        }
    }
    // Control characters, a lead byte cut off at the end, and a byte no character starts with
    // stay escaped.
    EXPECT_EQ(Shown("a\tb\x82", 932), "a\\tb\\x82");
    EXPECT_EQ(Shown("\x80\x9F", 950), "\\x80\\x9F");
    // In 1252, 0x81 stands for the control character U+0081; 0x85 is an ellipsis.
    EXPECT_EQ(Shown("\x81\x85", 1252), "\\x81\xE2\x80\xA6");
}

TEST(CodePageTest, MalformedInputBecomesTheReplacementCharacter) {
    // A lone surrogate, a cut UTF-8 sequence, an overlong form, and a lead byte at the end.
    EXPECT_EQ(Utf16ToUtf8(std::string("\x00\xD8"
                                      "A\x00",
                                      4)),
              "\xEF\xBF\xBD"
              "A");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xE3\x81")), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xC0\xAF")), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(CodePageToUtf16("A\x82", 932)), "A\xEF\xBF\xBD");
    // A surrogate pair is one character.
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), std::string("\x3D\xD8\x00\xDE", 4));
}
}  // namespace
