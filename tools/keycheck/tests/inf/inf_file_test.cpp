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
    EXPECT_EQ(inf.findings[0].code, "undefined-string");
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
    EXPECT_EQ(marked.openError->code, "outside-section");
    EXPECT_EQ(marked.openError->line, 1);
    ASSERT_EQ(marked.findings.size(), 1u);
    EXPECT_EQ(marked.findings[0].code, "utf8-bom");
    EXPECT_TRUE(marked.findings[0].warning);
}
}  // namespace
