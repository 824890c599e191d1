// CString and character-wise text: byte positions, and lead bytes of the ANSI code page.
#include "device/device_id_table.h"
#include "platform/cstring.h"
#include "platform/mbcs_text.h"
#include "sim/ansi_names.h"
#include "sim/fake_os.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
std::string Text(const CString& s) {
    return std::string(s, static_cast<std::size_t>(s.GetLength()));
}

TEST(CStringTest, BuildsTextByAssignmentAndAppending) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    CString s("C:\\Disk\\");
    s += "install.exe";
    s += ' ';
    s += CString("x");
    EXPECT_EQ(Text(s), "C:\\Disk\\install.exe x");
    s += s;
    EXPECT_EQ(Text(s), "C:\\Disk\\install.exe xC:\\Disk\\install.exe x");
    s = "ab";
    EXPECT_EQ(s.GetLength(), 2);
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(Text(CString("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CStringTest, FindsByBytePositionAndFailsWithMinusOne) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    const CString s("VEN_8086&DEV_24C2");
    EXPECT_EQ(s.Find('&'), 8);
    EXPECT_EQ(s.Find('&', 8), 8);
    EXPECT_EQ(s.Find('&', 9), -1);
    EXPECT_EQ(s.Find('Z'), -1);
    EXPECT_EQ(s.Find("DEV_24C2"), 9);
    EXPECT_EQ(s.Find("dev_24c2"), -1);
    EXPECT_EQ(s.Find('V'), 0);
    EXPECT_EQ(s.Find("VEN"), 0);
    EXPECT_EQ(s.Find('V', s.GetLength()), -1);      // a start at the end fails
    EXPECT_EQ(s.Find('V', s.GetLength() + 8), -1);  // one past it reads nothing
    EXPECT_EQ(s.Find("", 17), -1);
    EXPECT_EQ(CString().Find('x'), -1);
    // The last match; the last byte itself; none.
    EXPECT_EQ(CString("C:\\Disk\\setup.exe").ReverseFind('\\'), 7);
    EXPECT_EQ(CString("setup.").ReverseFind('.'), 5);
    EXPECT_EQ(s.ReverseFind('\\'), -1);
    EXPECT_EQ(CString().ReverseFind('\\'), -1);
}

TEST(CStringTest, TruncateKeepsLeadingBytesOnly) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    CString s("C:\\Disk\\setup.exe");
    s.Truncate(8);
    EXPECT_EQ(Text(s), "C:\\Disk\\");
    EXPECT_STREQ(s, "C:\\Disk\\");  // ended where it is cut
    s.Truncate(20);
    EXPECT_EQ(Text(s), "C:\\Disk\\");
    s.Truncate(0);
    EXPECT_TRUE(s.IsEmpty());
}

// Big5 U+529F is A5 5C and Shift-JIS U+8868 is 95 5C: their trail byte is a backslash.
struct DoubleByteCase {
    const char* name;
    int codePage;
    const char* character;
};
void PrintTo(const DoubleByteCase& row, std::ostream* out) {
    *out << row.name;
}

class DoubleByteTest : public ::testing::TestWithParam<DoubleByteCase> {};

TEST_P(DoubleByteTest, TrailByteNeverMatchesAndReversalKeepsPairs) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(GetParam().codePage);
    const std::string ch = GetParam().character;
    const CString s(("a" + ch + "\\b").c_str());
    EXPECT_EQ(s.Find('\\'), 3);
    EXPECT_EQ(s.Find("\\b"), 3);
    EXPECT_EQ(s.Find(ch.c_str()), 1);

    EXPECT_EQ(MbCharLength(ch.c_str()), 2);
    // No character is the terminator.
    EXPECT_EQ(MbFindChar(s, '\0'), -1);
    EXPECT_EQ(s.Find('\0'), -1);

    // The pair in the middle, first, last, and twice over: reversed, it keeps its order.
    const std::pair<std::string, std::string> reversals[] = {{"a" + ch + "\\b", "b\\" + ch + "a"},
                                                             {ch + "x", "x" + ch},
                                                             {"x" + ch, ch + "x"},
                                                             {ch + ch, ch + ch}};
    for (const auto& [text, expected] : reversals) {
        CString reversed(text.c_str());
        reversed.MakeReverse();
        EXPECT_EQ(Text(reversed), expected) << text;
        reversed.MakeReverse();
        EXPECT_EQ(Text(reversed), text);
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, DoubleByteTest,
                         ::testing::Values(DoubleByteCase{"Big5", 950, "\xA5\x5C"},
                                           DoubleByteCase{"ShiftJis", 932, "\x95\x5C"},
                                           DoubleByteCase{"Gbk", 936, "\xA5\x5C"},
                                           DoubleByteCase{"Korean", 949, "\xA5\x5C"}),
                         NamedRow());

// A lead byte as the last byte before the NUL: a double-byte character cut short. The text
// lies in a block of its exact size, so the sanitizers see any read past the NUL.
struct CutCharacterCase {
    int codePage;
    unsigned char lead;
};
std::string CutCharacterName(const CutCharacterCase& row) {
    return "Cp" + std::to_string(row.codePage) + "Lead" + std::to_string(row.lead);
}
void PrintTo(const CutCharacterCase& row, std::ostream* out) {
    *out << CutCharacterName(row);
}

class CutCharacterTest : public ::testing::TestWithParam<CutCharacterCase> {};

TEST_P(CutCharacterTest, IsOneByteAndNothingIsReadPastTheNul) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(GetParam().codePage);
    const char lead = static_cast<char>(GetParam().lead);
    ASSERT_TRUE(os.IsLeadByte(GetParam().lead));
    const std::string bytes = std::string("A=b") + lead;
    std::unique_ptr<char[]> text(new char[bytes.size() + 1]);
    std::memcpy(text.get(), bytes.c_str(), bytes.size() + 1);

    EXPECT_EQ(MbCharLength(text.get() + 3), 1);
    EXPECT_EQ(MbFindChar(text.get(), '='), 1);
    EXPECT_EQ(MbFindChar(text.get(), lead), 3);
    EXPECT_EQ(MbFindChar(text.get(), '\\'), -1);
    EXPECT_EQ(MbFindString(text.get(), (std::string("b") + lead).c_str()), 2);
    EXPECT_EQ(MbFindString(text.get(), "bb"), -1);

    const CString s(text.get());
    EXPECT_EQ(s.Find(lead), 3);
    EXPECT_EQ(s.Find('x', 3), -1);
    CString reversed(s);
    reversed.MakeReverse();
    EXPECT_EQ(Text(reversed), std::string(1, lead) + "b=A");

    DeviceIdTable table{};
    ParseKeyText(text.get(), table);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(std::string(table.ids[0]), std::string("b") + lead);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CutCharacterTest,
                         ::testing::Values(CutCharacterCase{932, 0x81}, CutCharacterCase{932, 0x9F},
                                           CutCharacterCase{932, 0xE0}, CutCharacterCase{932, 0xFC},
                                           CutCharacterCase{936, 0x81}, CutCharacterCase{936, 0xFE},
                                           CutCharacterCase{949, 0x81}, CutCharacterCase{949, 0xFE},
                                           CutCharacterCase{950, 0x81},
                                           CutCharacterCase{950, 0xFE}),
                         [](const auto& row) { return CutCharacterName(row.param); });

TEST(CStringTest, WesternCodePageTreatsEveryByteAsACharacter) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    const CString s("a\xA5\x5C\\b");
    EXPECT_EQ(s.Find('\\'), 2);
    CString reversed(s);
    reversed.MakeReverse();
    EXPECT_EQ(Text(reversed), "b\\\x5C\xA5"
                              "a");
}

TEST(MbcsTextTest, SubstringMatchesOnlyAtCharacterBoundaries) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(950);
    EXPECT_EQ(MbFindString("\xA5\x41", "A"), -1);  // 0x41 is a Big5 trail byte here
    EXPECT_EQ(MbFindString("\xA5\x41"
                           "A",
                           "A"),
              2);
    EXPECT_EQ(MbFindString("abc", ""), 0);
    // A lead byte at the very end is a character by itself.
    EXPECT_EQ(MbCharLength("\xA5"), 1);
    EXPECT_EQ(MbFindChar("x\xA5", '\xA5'), 1);
}

// The lead bytes of each code page, as ranges, from a table that runs against Windows'
// IsDBCSLeadByteEx (ReactOS's kernel32 api tests, IsDBCSLeadByteEx.c); 1252 has none.
TEST(MbcsTextTest, LeadByteTableHoldsEachCodePagesLeadBytes) {
    const struct {
        int codePage;
        std::vector<std::pair<int, int>> ranges;
    } rows[] = {{1252, {}},
                {932, {{0x81, 0x9F}, {0xE0, 0xFC}}},
                {936, {{0x81, 0xFE}}},
                {949, {{0x81, 0xFE}}},
                {950, {{0x81, 0xFE}}}};
    CFakeOs os;
    const FakeOsInstalled installed(os);
    for (const auto& row : rows) {
        os.SetCodePage(row.codePage);
        for (int byte = 0; byte < 256; ++byte) {
            bool lead = false;
            for (const auto& range : row.ranges)
                lead = lead || (byte >= range.first && byte <= range.second);
            EXPECT_EQ(MbIsLeadByte(static_cast<unsigned char>(byte)), lead)
                << "code page " << row.codePage << " byte " << byte;
        }
    }
}

// The plain forward walk: from each character boundary in turn, compare the bytes.
int WalkedFind(const std::string& text, const std::string& needle, CFakeOs& os) {
    for (std::size_t i = 0;;) {
        if (text.compare(i, needle.size(), needle) == 0)
            return static_cast<int>(i);
        if (i >= text.size())
            return -1;
        i += os.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
}

// Every text of up to five bytes and every needle of one or two bytes drawn from bytes that
// lead, trail or both in some code page: the searches agree with the forward walk.
TEST(MbcsTextTest, SearchesAgreeWithTheForwardWalkInEveryCodePage) {
    const std::string alphabet = "\x81\xA5"
                                 "A\\=";
    std::vector<std::string> texts = {""};
    std::vector<std::string> needles;
    for (std::size_t i = 0; i < texts.size() && texts[i].size() < 5; ++i) {
        for (const char c : alphabet) {
            texts.push_back(texts[i] + c);
            if (texts[i].size() < 2)
                needles.push_back(texts[i] + c);
        }
    }
    CFakeOs os;
    const FakeOsInstalled installed(os);
    for (const int codePage : kAnsiCodePages) {
        os.SetCodePage(codePage);
        int differences = 0;
        for (const std::string& text : texts) {
            for (const std::string& needle : needles) {
                const int expected = WalkedFind(text, needle, os);
                const int found = MbFindString(text.c_str(), needle.c_str());
                const int foundChar =
                    needle.size() == 1 ? MbFindChar(text.c_str(), needle[0]) : found;
                if ((found != expected || foundChar != expected) && differences++ < 5)
                    ADD_FAILURE() << "code page " << codePage << ": \"" << text << "\" / \""
                                  << needle << "\" found at " << found << " and " << foundChar
                                  << ", walk says " << expected;
            }
        }
        EXPECT_EQ(differences, 0) << "code page " << codePage;
    }
}
}  // namespace
