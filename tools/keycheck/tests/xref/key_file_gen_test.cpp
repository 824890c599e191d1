// keycheck gen: the key.ini it writes, fed back to lint and xref, and what it refuses.
#include "tools/keycheck/xref/key_file_gen.h"

#include "tests/table_rows.h"
#include "tools/keycheck/lint/lint.h"
#include "tools/keycheck/tests/package_fixture.h"
#include "tools/keycheck/xref/xref.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Ids = std::vector<std::string>;

std::string Inf(const std::string& models, const std::string& xpModels = "") {
    return "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nHX" +
           std::string(xpModels.empty() ? "" : " = HX, NTx86.5.1") + "\r\n[HX]\r\n" + models +
           "[HX.NTx86.5.1]\r\n" + xpModels + "[Inst]\r\n";
}

// A package whose INF files list models, with keyIni.
Package WithInfs(const std::string& inf, const std::string& ina,
                 const std::string& keyIni = "A=VEN_0000&DEV_0000\r\n") {
    PackageFiles files = LauncherPackageFiles(keyIni);
    files.Add("drv\\hx5820.inf", inf);
    files.Add("drv\\hx5820.ina", ina);
    return ReadTestPackage(std::move(files));
}

TEST(KeyFileGenTest, WhatItWritesPassesLintAndXref) {
    // The last line names its device by compatible ID alone, as 9x display INFs do.
    const std::string models =
        "D = Inst, pci\\ven_1a2b&dev_5820&subsys_00011a2b&rev_01, PCI\\CC_0104\r\n"
        "D = Inst, PCI\\VEN_1A2B&DEV_5821, PCI\\VEN_1A2B&DEV_5820\r\n"
        "D = Inst,,  PCI\\VEN_10DE&DEV_0020\r\n";
    const GeneratedKeyFile generated = GenerateKeyFile(WithInfs(Inf(models), Inf(models)));
    EXPECT_EQ(generated.text, "[PCI]\r\nID1=VEN_1A2B&DEV_5820\r\nID2=VEN_1A2B&DEV_5821\r\n"
                              "ID3=VEN_10DE&DEV_0020\r\n");
    EXPECT_TRUE(generated.lacks.empty());
    EXPECT_EQ(generated.skipped, Ids{"PCI\\CC_0104"});

    const Package written = WithInfs(Inf(models), Inf(models), generated.text);
    EXPECT_TRUE(LintPackage(written, false).findings.empty());
    const XrefResult xref = CrossCheck(written, false);
    // PCI\CC_0104 alone reaches every maker's storage controller; no entry can stop that, and
    // a note says so.
    const std::vector<const Finding*> findings = OfSeverity(xref.findings, Severity::Finding);
    ASSERT_EQ(findings.size(), 0u) << findings[0]->text;
    // The INF names no catalog, which 2000 and XP say; nothing else is said.
    const std::vector<const Finding*> warnings = OfSeverity(xref.findings, Severity::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_STREQ(CodeName(warnings[0]->code), "no-catalog");
}

TEST(KeyFileGenTest, DifferentInfsGiveTheUnionAndWhatEachVersionLacks) {
    const std::string inf =
        Inf("D = Inst, PCI\\VEN_1A2B&DEV_5820\r\n", "D = Inst, PCI\\VEN_1A2B&DEV_5821\r\n");
    const std::string ina =
        Inf("D = Inst, PCI\\VEN_1A2B&DEV_5820\r\nD = Inst, PCI\\VEN_1A2B&DEV_5822\r\n");
    const GeneratedKeyFile generated = GenerateKeyFile(WithInfs(inf, ina));
    EXPECT_EQ(generated.ids, (Ids{"VEN_1A2B&DEV_5820", "VEN_1A2B&DEV_5822", "VEN_1A2B&DEV_5821"}));
    ASSERT_EQ(generated.lacks.size(), 4u);
    EXPECT_EQ(generated.lacks[0].version, OS_WIN98SE);
    EXPECT_EQ(generated.lacks[0].ids, Ids{"VEN_1A2B&DEV_5821"});
    EXPECT_EQ(generated.lacks[1].ids, (Ids{"VEN_1A2B&DEV_5822", "VEN_1A2B&DEV_5821"}));
    EXPECT_EQ(generated.lacks[2].ids, (Ids{"VEN_1A2B&DEV_5822", "VEN_1A2B&DEV_5821"}));
    EXPECT_EQ(generated.lacks[3].ids, (Ids{"VEN_1A2B&DEV_5820", "VEN_1A2B&DEV_5822"}));

    // What one version lacks, xref finds again once the key file is in place.
    EXPECT_EQ(OfSeverity(CrossCheck(WithInfs(inf, ina, generated.text), false).findings,
                         Severity::Finding)
                  .size(),
              3u);
}

// gen and xref agree: on a key.ini gen wrote, xref finds no ID unlisted, and explains each ID
// gen left out in a note of its own.
struct ModelsCase {
    const char* name;
    std::string models, xpModels;
};
void PrintTo(const ModelsCase& row, std::ostream* out) {
    *out << row.name;
}

class GenXrefAgreeTest : public ::testing::TestWithParam<ModelsCase> {};

TEST_P(GenXrefAgreeTest, XrefFindsNothingUnlistedInWhatGenWrote) {
    const std::string inf = Inf(GetParam().models, GetParam().xpModels);
    const std::string ina = Inf(GetParam().models);
    const GeneratedKeyFile generated = GenerateKeyFile(WithInfs(inf, ina));
    ASSERT_TRUE(generated.refusal.empty()) << generated.refusal;
    const XrefResult xref = CrossCheck(WithInfs(inf, ina, generated.text), false);
    for (const Finding& finding : xref.findings)
        EXPECT_STRNE(CodeName(finding.code), "id-not-listed") << finding.text;
    for (const std::string& id : generated.skipped) {
        bool explained = false;
        for (const Finding* note : OfSeverity(xref.findings, Severity::Note))
            explained = explained || (std::string(CodeName(note->code)) == "no-single-device" &&
                                      note->text.compare(0, id.size(), id) == 0);
        EXPECT_TRUE(explained) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, GenXrefAgreeTest,
    ::testing::Values(
        ModelsCase{"WholeIds",
                   "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\nD = Inst, PCI\\VEN_1A2B&DEV_5821\r\n", ""},
        ModelsCase{"SubsystemAndRevision",
                   "D = Inst, PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B&REV_01\r\n", ""},
        ModelsCase{"LowerCase", "D = Inst, pci\\ven_1a2b&dev_5820&rev_02\r\n", ""},
        ModelsCase{"ClassAlone", "D = Inst, PCI\\VEN_1A2B&DEV_5820, PCI\\CC_0104\r\n", ""},
        // An xHCI line of an Intel chipset INF names its controllers by maker and class.
        ModelsCase{"MakerAndClass",
                   "D = Inst, PCI\\VEN_8086&CC_0C0330\r\nD = Inst, PCI\\VEN_8086&DEV_1E31\r\n", ""},
        ModelsCase{"CompatibleIdsAlone", "D = Inst,, PCI\\VEN_10DE&DEV_0020\r\n", ""},
        ModelsCase{"XpReadsOtherModels", "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\n",
                   "D = Inst, PCI\\VEN_1A2B&DEV_5821, PCI\\VEN_1A2B&CC_0104\r\n"}),
    NamedRow());

TEST(KeyFileGenTest, RefusesMoreThanTheLaunchersFortyAndNone) {
    std::string models;
    for (int i = 0; i < 41; ++i)
        models += "D = Inst, PCI\\VEN_1A2B&DEV_" + std::to_string(5800 + i) + "\r\n";
    GeneratedKeyFile generated = GenerateKeyFile(WithInfs(Inf(models), Inf(models)));
    EXPECT_EQ(generated.ids.size(), 41u);
    EXPECT_TRUE(generated.text.empty());
    EXPECT_NE(generated.refusal.find("41 IDs"), std::string::npos) << generated.refusal;

    generated = GenerateKeyFile(WithInfs(Inf(""), "[Version]\r\nSignature=$Windows NT$\r\n"));
    EXPECT_TRUE(generated.text.empty());
    EXPECT_FALSE(generated.refusal.empty());
    ASSERT_EQ(generated.unreadable.size(), 1u);
    EXPECT_STREQ(CodeName(generated.unreadable[0].code), "wrong-signature");
}
}  // namespace
