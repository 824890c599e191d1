// TXTSETUP.OEM cut as text-mode setup cuts it: entries, fields, comments and sections.
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Fields = std::vector<std::string>;

struct CutCase {
    const char* name;
    const char* line;
    const char* key;
    Fields fields;
};
void PrintTo(const CutCase& row, std::ostream* out) {
    *out << row.name;
}

class TxtSetupCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(TxtSetupCutTest, EntryIsCutAsTextModeSetupCutsIt) {
    const TxtSetupFile file = ParseTxtSetup(std::string("[S]\r\n") + GetParam().line + "\r\n");
    ASSERT_EQ(file.sections.size(), 1u);
    ASSERT_EQ(file.sections[0].entries.size(), 1u);
    EXPECT_EQ(file.sections[0].entries[0].key, GetParam().key);
    EXPECT_EQ(file.sections[0].entries[0].fields, GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Rules, TxtSetupCutTest,
                         ::testing::Values(CutCase{"KeyAndFields",
                                                   "driver = d1, hx.sys, hx",
                                                   "driver",
                                                   {"d1", "hx.sys", "hx"}},
                                           CutCase{"QuotedCommaAndBlanks",
                                                   "d1 = \"Disk, one\", \\t.tag, \\",
                                                   "d1",
                                                   {"Disk, one", "\\t.tag", "\\"}},
                                           CutCase{"QuotedHash", "x = \"a # b\"", "x", {"a # b"}},
                                           CutCase{"CommentAfterTheEntry",
                                                   "id = \"PCI\\VEN_1\", \"hx\" ; the first",
                                                   "id",
                                                   {"PCI\\VEN_1", "hx"}},
                                           CutCase{"EqualsInQuotes", "\"a=b\" = c", "a=b", {"c"}},
                                           CutCase{"EmptyFields", "v = ,, x", "v", {"", "", "x"}}),
                         NamedRow());

TEST(TxtSetupFileTest, CommentsSectionsAndLines) {
    const TxtSetupFile file = ParseTxtSetup(
        "# hash comment\n[Disks]\n; semicolon comment\n  d1 = a,b,c\n[ scsi ]\nX = y\n");
    ASSERT_EQ(file.sections.size(), 2u);
    EXPECT_EQ(file.sections[0].entries[0].line, 4);
    EXPECT_NE(file.Section("SCSI"), nullptr);
    EXPECT_EQ(file.Section("scsi")->line, 5);
}

}  // namespace
