// The INF reader: each general syntax rule on a small file of its own, in both encodings.
#include "tools/keycheck/inf/inf_file.h"

#include "tests/table_rows.h"
#include "tools/keycheck/tests/inf/inf_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {
using Fields = std::vector<std::string>;

struct SyntaxCase {
    const char* rule;
    const char* text;  // with a [T] section whose entry with key "k" is looked at
    int line;          // where that entry starts
    Fields fields;
};

const char* const kStrings = "[Strings]\nName = \"HX Technology\"\nRef = \"%Name%\"\n"
                             "Lang = \"neutral\"\n[Strings.0409]\nLang = \"English\"\n"
                             "[Strings.0407]\nLang = \"Deutsch\"\n";

const SyntaxCase kCases[] = {
    {"section and key names without regard to case", "[t]\nK = one\n", 2, {"one"}},
    {"same-named sections merged", "[T]\nx = 1\n[Other]\ny = 2\n[t]\nk = 3\n", 6, {"3"}},
    {"comment after the fields", "[T]\nk = a, b ; c, d\n", 2, {"a", "b"}},
    {"semicolon inside quotes", "[T]\nk = \"a;b\", c\n", 2, {"a;b", "c"}},
    {"comma inside quotes", "[T]\nk = \"a, b\", c\n", 2, {"a, b", "c"}},
    {"backslash continues the line", "[T]\nk = a, \\\n    b, \\ ; note\n  c\n", 2, {"a", "b", "c"}},
    {"quoted backslash at the end", "[T]\nk = \"dir\\\"\nz = 1\n", 2, {"dir\\"}},
    {"blanks around unquoted text dropped", "[T]\n  k  =   x  y   ,  \n", 2, {"x  y", ""}},
    {"quoted blanks kept", "[T]\nk = \"  x  \"\n", 2, {"  x  "}},
    {"two double quotes in quotes", "[T]\nk = \"say \"\"hi\"\"\"\n", 2, {"say \"hi\""}},
    {"%% is one percent sign", "[T]\nk = 100%% sure\n", 2, {"100% sure"}},
    {"%strkey% replaced", "[T]\nk = %name% Inc.\n", 2, {"HX Technology Inc."}},
    {"no recursive expansion", "[T]\nk = %Ref%\n", 2, {"%Name%"}},
    {"[Strings.0409] before [Strings]", "[T]\nk = %Lang%\n", 2, {"English"}},
    {"a directory ID stays", "[T]\nk = %12%\\hx.sys\n", 2, {"%12%\\hx.sys"}},
    {"text beyond ANSI's first half", "[T]\nk = Contr\xC3\xB4leur\n", 2, {"Contr\xC3\xB4leur"}},
};

void PrintTo(const SyntaxCase& row, std::ostream* out) {
    *out << row.rule;
}

class InfSyntaxRuleTest : public ::testing::TestWithParam<std::tuple<SyntaxCase, InfEncoding>> {};

TEST_P(InfSyntaxRuleTest, HoldsOnAFileOfItsOwn) {
    const SyntaxCase& c = std::get<0>(GetParam());
    const InfEncoding encoding = std::get<1>(GetParam());
    const InfFile inf = ParseInf("drv\\t.inf", InfBytes(std::string(c.text) + kStrings, encoding));
    EXPECT_EQ(inf.encoding, encoding);
    EXPECT_TRUE(inf.findings.empty());
    const InfSection* section = inf.Section("T");
    ASSERT_NE(section, nullptr);
    const InfLine* found = nullptr;
    for (const InfLine& line : section->lines) {
        if (line.hasKey && (line.key == "k" || line.key == "K"))
            found = &line;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->line, c.line);
    EXPECT_EQ(found->fields, c.fields);
}

INSTANTIATE_TEST_SUITE_P(Rules, InfSyntaxRuleTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(InfEncoding::Ansi,
                                                              InfEncoding::Utf16Le)),
                         [](const auto& row) {
                             return RowIdentifier(std::get<0>(row.param).rule) + "_" +
                                    EncodingName(std::get<1>(row.param));
                         });

class InfSyntaxTest : public ::testing::TestWithParam<InfEncoding> {};

TEST_P(InfSyntaxTest, ProblemsNameFileAndLine) {
    const InfFile inf = ParseInf("drv\\t.inf", InfBytes("stray = 1\n[T]\n\nk = %Missing%, "
                                                        "%Name%\n" +
                                                            std::string(kStrings),
                                                        GetParam()));
    // The stray line before the first section is ignored: the file has a [Strings] section.
    EXPECT_FALSE(inf.openError);
    ASSERT_EQ(inf.findings.size(), 1u);
    EXPECT_STREQ(CodeName(inf.findings[0].code), "undefined-string");
    EXPECT_EQ(inf.findings[0].file, "drv\\t.inf");
    EXPECT_EQ(inf.findings[0].line, 4);
    // The token stays as written, so that reports show what Windows would show.
    EXPECT_EQ(inf.Section("t")->lines[0].fields, (Fields{"%Missing%", "HX Technology"}));
}

INSTANTIATE_TEST_SUITE_P(BothEncodings, InfSyntaxTest,
                         ::testing::Values(InfEncoding::Ansi, InfEncoding::Utf16Le),
                         [](const auto& row) { return EncodingName(row.param); });

TEST(InfEntryTest, EntriesWithoutKeyAndSectionsWithoutEntries) {
    const InfFile inf = ParseInf("a.inf", "[Files]\r\nhx.sys, , , 2\r\n[Empty]\r\n");
    ASSERT_NE(inf.Section("FILES"), nullptr);
    const InfLine& line = inf.Section("files")->lines[0];
    EXPECT_FALSE(line.hasKey);
    EXPECT_EQ(line.fields, (Fields{"hx.sys", "", "", "2"}));
    ASSERT_NE(inf.Section("empty"), nullptr);
    EXPECT_TRUE(inf.Section("empty")->lines.empty());
    EXPECT_EQ(inf.Section("missing"), nullptr);
    EXPECT_EQ(inf.Value("Files", "hx.sys"), nullptr);

    // A UTF-8 byte-order mark is three ANSI characters to Windows: here they make the first
    // header stray text, which a file without [Strings] may not have.
    const InfFile marked = ParseInf("a.inf", "\xEF\xBB\xBF[Version]\r\nSignature=$CHICAGO$\r\n");
    ASSERT_TRUE(marked.openError);
    EXPECT_STREQ(CodeName(marked.openError->code), "outside-section");
    EXPECT_EQ(marked.openError->line, 1);
    ASSERT_EQ(marked.findings.size(), 1u);
    EXPECT_STREQ(CodeName(marked.findings[0].code), "utf8-bom");
    EXPECT_EQ(marked.findings[0].severity, Severity::Warning);
}
}  // namespace

namespace {
// An ANSI INF in a double-byte code page: a character whose trail byte is 0x5C is one
// character, at a line's end, in a quoted string and in a comment (Shift-JIS 0x95 0x5C is the
// character of an Intel LAN INF's [Strings.0411]); in 1252 the same bytes end in a backslash.
struct TrailByteCase {
    const char* name;
    int codePage;
    const char* pair;
    bool oneCharacter;
};
void PrintTo(const TrailByteCase& row, std::ostream* out) {
    *out << row.name;
}

class TrailByteTest : public ::testing::TestWithParam<TrailByteCase> {};

// The entry with key k of section, or null.
const InfLine* Entry(const InfFile& inf, const char* section, const char* key) {
    const InfSection* found = inf.Section(section);
    if (found == nullptr)
        return nullptr;
    for (const InfLine& line : found->lines) {
        if (line.hasKey && line.key == key)
            return &line;
    }
    return nullptr;
}

TEST_P(TrailByteTest, IsOneCharacterWhereTheCodePageMakesItOne) {
    const TrailByteCase& c = GetParam();
    const std::string ch = c.pair;
    const std::string text = "[Version]\r\nSignature=$Chicago$\r\n[T]\r\nend = PCI" + ch +
                             "\r\nnext = 1\r\nquoted = \"PCI" + ch + "\"\r\ncomment = 2 ; " + ch +
                             "\r\nafter = 3\r\n[Strings]\r\nD=\"" + ch + "\"\r\n[U]\r\n";
    const InfFile inf = ParseInf("t.inf", text, InfReading{c.codePage, 0});
    const InfLine* end = Entry(inf, "T", "end");
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(Entry(inf, "T", "next") != nullptr, c.oneCharacter);
    EXPECT_EQ(end->fields.size(), 1u);
    ASSERT_NE(Entry(inf, "T", "quoted"), nullptr);
    ASSERT_NE(Entry(inf, "T", "after"), nullptr);
    EXPECT_EQ(Entry(inf, "T", "comment")->fields, Fields{"2"});
    EXPECT_NE(inf.Section("U"), nullptr);
    EXPECT_TRUE(inf.findings.empty());
}

INSTANTIATE_TEST_SUITE_P(CodePages, TrailByteTest,
                         ::testing::Values(TrailByteCase{"ShiftJis", 932, "\x95\x5C", true},
                                           TrailByteCase{"Gbk", 936, "\x81\x5C", true},
                                           TrailByteCase{"Korean", 949, "\x81\x5C", true},
                                           TrailByteCase{"Big5", 950, "\xA5\x5C", true},
                                           TrailByteCase{"Western", 1252, "\x95\x5C", false}),
                         NamedRow());
}  // namespace

namespace {
// Which [Strings.LanguageID] a machine's language picks: the exact LANGID, else its primary
// language alone, each over [Strings] ("INF Strings Section").
struct LanguageCase {
    const char* name;
    InfReading reading;
    const char* value;
    std::vector<std::string> read;
};
void PrintTo(const LanguageCase& row, std::ostream* out) {
    *out << row.name;
}

class StringsLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(StringsLanguageTest, PicksTheSectionOfTheMachinesLanguage) {
    const InfFile inf =
        ParseInf("t.inf",
                 "[Version]\r\nSignature=$Chicago$\r\n[T]\r\nk = %S%, %Base%\r\n"
                 "[Strings]\r\nS = neutral\r\nBase = base\r\n[Strings.0409]\r\nS = american\r\n"
                 "[strings.0009]\r\nS = english\r\n[Strings.0411]\r\nS = japanese\r\n"
                 "[Strings.0407]\r\nS = german\r\n",
                 GetParam().reading);
    EXPECT_EQ(inf.Section("T")->lines[0].fields, (Fields{GetParam().value, "base"}));
    EXPECT_EQ(inf.stringsRead, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, StringsLanguageTest,
    ::testing::Values(
        LanguageCase{"WesternMachine", {1252, 0}, "american", {"Strings.0409", "Strings"}},
        LanguageCase{"JapaneseMachine", {932, 0}, "japanese", {"Strings.0411", "Strings"}},
        LanguageCase{"GermanNamed", {1252, 0x0407}, "german", {"Strings.0407", "Strings"}},
        LanguageCase{
            "BritishByPrimaryLanguage", {1252, 0x0809}, "english", {"strings.0009", "Strings"}},
        LanguageCase{"KoreanWithoutItsSection", {949, 0}, "neutral", {"Strings"}}),
    NamedRow());
}  // namespace
