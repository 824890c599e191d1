// keycheck lint: each warning about key.ini on its own, and the package files it checks.
#include "tools/keycheck/lint/lint.h"

#include "tests/table_rows.h"
#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <utility>
#include <vector>

namespace {
using Codes = std::vector<std::pair<std::string, int>>;  // code and offset of each finding

// The findings for a complete package whose key.ini holds keyIni.
Codes Lint(const std::string& keyIni, int codePage = 1252) {
    Codes codes;
    const Package package =
        ReadTestPackage(LauncherPackageFiles(keyIni, codePage), InfReading{codePage, 0});
    for (const Finding& finding : LintPackage(package, false).findings)
        codes.emplace_back(CodeName(finding.code), finding.offset);
    return codes;
}

TEST(KeyFileLintTest, CleanFileGivesNoWarning) {
    EXPECT_EQ(Lint("[PCI]\r\n; two IDs\r\nA=VEN_1A2B&DEV_5820\r\nB=VEN_1A2B&DEV_5821\r\n"),
              Codes{});
    EXPECT_EQ(Lint("A=" + std::string(39, 'V') + "\r\n"), Codes{});
}

TEST(KeyFileLintTest, EachSharpEdgeHasItsWarningAtItsOffset) {
    EXPECT_EQ(Lint("A=VEN_1\nB=VEN_2\n"), (Codes{{"bare-line-feed", 2}}));
    EXPECT_EQ(Lint(std::string("\xFF\xFE"
                               "A\0=\0V\0\r\0\n\0",
                               12)),
              (Codes{{"no-entries", -1}, {"utf16", 0}}));
    EXPECT_EQ(Lint(std::string("A=VEN_1\r\n\0B=VEN_2\r\n", 19)), (Codes{{"nul-byte", 9}}));
    EXPECT_EQ(Lint("A=\r\nB=VEN_2\r\n"), (Codes{{"empty-value", 2}}));
    EXPECT_EQ(Lint("A=VEN_1\r\nB=" + std::string(40, 'V') + "\r\n"), (Codes{{"too-long", 11}}));
    EXPECT_EQ(Lint("A= VEN_1\r\n"), (Codes{{"edge-blank", 2}}));
    EXPECT_EQ(Lint("A=VEN_1\t\r\n"), (Codes{{"edge-blank", 2}}));
    EXPECT_EQ(Lint("A=ven_1a2b\r\n"), (Codes{{"lower-case", 2}}));
    EXPECT_EQ(Lint("A=VEN_1\r\nB=VEN_2\r\nC=VEN_1\r\n"), (Codes{{"duplicate", 20}}));
    EXPECT_EQ(Lint("; see: HX=VEN_9\r\nA=VEN_1\r\n"), (Codes{{"comment-entry", 0}}));
    EXPECT_EQ(Lint("[PCI]\r\nno entries\r\n"), (Codes{{"no-entries", -1}}));
}

TEST(KeyFileLintTest, OnlyEntriesPastTheFortiethAreReportedIgnored) {
    std::string text;
    for (int i = 0; i < 42; ++i)
        text += "I=VEN_" + std::to_string(100 + i) + "\r\n";
    // Each line is 11 bytes; the values start 2 bytes in.
    EXPECT_EQ(Lint(text), (Codes{{"too-many", 40 * 11 + 2}, {"too-many", 41 * 11 + 2}}));
}

TEST(KeyFileLintTest, LowerCaseIsLookedForCharacterByCharacter) {
    // 81 61 is one Shift-JIS character whose second byte is "a".
    const std::string text = "A=VEN_\x81\x61\r\n";
    EXPECT_EQ(Lint(text, 932), Codes{});
    EXPECT_EQ(Lint(text, 1252), (Codes{{"lower-case", 2}}));
}

TEST(KeyFileLintTest, ListsEntriesWithWhatTheLauncherKeeps) {
    const Package package =
        ReadTestPackage(LauncherPackageFiles("A=VEN_1\r\nB=" + std::string(45, 'V') + "\r\n"));
    const KeyFile& keyFile = package.keyFile;
    ASSERT_TRUE(keyFile.found);
    ASSERT_EQ(keyFile.entries.size(), 2u);
    EXPECT_EQ(keyFile.entries[1].value, std::string(45, 'V'));
    EXPECT_EQ(keyFile.table, (std::vector<std::string>{"VEN_1", ""}));
    // The launcher stores an ID over 39 bytes empty and matches nothing with it: no finding
    // about its case or blanks, only its length.
    EXPECT_EQ(LintPackage(package, false).findings.size(), 1u);
}

// A package holding key.ini and the files named, spelled as given.
LintResult LintFiles(const std::vector<std::string>& names, bool keyFile = true) {
    PackageFiles files;
    if (keyFile)
        files.Add("key.ini", "A=VEN_1\r\n");
    for (const std::string& name : names)
        files.Add(name, "x");
    return LintPackage(ReadTestPackage(std::move(files)), false);
}

const std::vector<std::string> kAllFiles = {
    "install.exe",      "drv\\hx5820.inf",  "drv\\hx5820.ina",
    "drv\\hx5820.mpd",  "drv\\hx5820.sys",  "drv\\hx5820.cat",
    "drv\\hxvport.vxd", "drv\\hxpanel.cpl", "drv\\hxAuxDrv.sys"};

TEST(PackageFilesLintTest, EveryFileTheLauncherUsesIsCheckedWithoutRegardToCase) {
    std::vector<std::string> upper;
    for (std::string file : kAllFiles) {
        for (char& c : file)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        upper.push_back(file);
    }
    const LintResult result = LintFiles(upper);
    EXPECT_TRUE(result.findings.empty());
    // install.exe, the INF (one file for the command line and the Me list) and the drv files.
    ASSERT_EQ(result.files.size(), kAllFiles.size());
    EXPECT_EQ(result.files[1].path, "Drv\\hx5820.inf");
    EXPECT_EQ(result.files[1].usedBy, "installer's INF on 2000/XP, copied on Me");
}

class MissingFileLintTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MissingFileLintTest, IsReported) {
    std::vector<std::string> files = kAllFiles;
    files.erase(std::find(files.begin(), files.end(), GetParam()));
    const LintResult result = LintFiles(files);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_STREQ(CodeName(result.findings[0].code), "missing-file");
    EXPECT_NE(result.findings[0].text.find(GetParam().substr(4)), std::string::npos)
        << result.findings[0].text;
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingFileLintTest, ::testing::ValuesIn(kAllFiles),
                         [](const auto& row) { return RowIdentifier(row.param); });

TEST(PackageFilesLintTest, MissingInaIsToldWhereItIsCopied) {
    const LintResult ina =
        LintFiles({"install.exe", "drv\\hx5820.inf", "drv\\hx5820.mpd", "drv\\hx5820.sys",
                   "drv\\hx5820.cat", "drv\\hxvport.vxd", "drv\\hxpanel.cpl", "drv\\hxAuxDrv.sys"});
    EXPECT_EQ(ina.findings[0].text, "drv\\hx5820.ina is missing: on Windows 9x the launcher "
                                    "skips its copy without a word (copied on 98 SE)");
}

TEST(PackageFilesLintTest, MissingKeyFileIsReported) {
    const LintResult result = LintFiles(kAllFiles, false);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_STREQ(CodeName(result.findings[0].code), "no-key-file");
}
}  // namespace
