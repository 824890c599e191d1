// keycheck txtsetup: how TXTSETUP.OEM is cut, each rule text-mode setup goes by, and the three
// lists of devices compared.
#include "tools/keycheck/txtsetup/txtsetup_check.h"
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include "sim/app_runner.h"
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

// A package folder at D:\ whose TXTSETUP.OEM is text; the drv folder holds hx.sys, hx.inf.
std::vector<std::string> Codes(const std::string& text, const char* keyIni = nullptr,
                               const std::string& models = "") {
    CFakeOs machine;
    machine.AddFile("D:\\TXTSETUP.OEM", text);
    machine.AddFile("D:\\hx.tag", "tag");
    machine.AddFile("D:\\drv\\hx.sys", "driver");
    machine.AddFile("D:\\drv\\hx.inf", "inf");
    if (keyIni != nullptr) {
        AddPackage(machine, "D:\\", keyIni);
        machine.AddFile("D:\\Drv\\hx5820.inf",
                        "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nM\r\n[M]\r\n" +
                            models + "[Inst]\r\n");
    }
    std::vector<std::string> codes;
    for (const TxtSetupFinding& finding : CheckTxtSetup(machine, "D:\\").findings)
        codes.push_back(finding.code + (finding.warning ? "?" : "") + ":" +
                        std::to_string(finding.line));
    return codes;
}

const std::string kGood =
    "[Disks]\r\nd1 = \"Disk\", \\hx.tag, \\drv\r\n"                         // 1, 2
    "[Defaults]\r\nscsi = HX\r\n[scsi]\r\nHX = \"HX controller\"\r\n"       // 3-6
    "[Files.scsi.HX]\r\ndriver = d1, hx.sys, hx\r\ninf = d1, hx.inf\r\n"    // 7-9
    "[HardwareIds.scsi.HX]\r\nid = \"PCI\\VEN_1A2B&DEV_5820\", \"hx\"\r\n"  // 10, 11
    "[Config.hx]\r\nvalue = Parameters, x, REG_DWORD, 1\r\n";               // 12, 13

struct RuleCase {
    const char* name;
    std::string from, to;  // kGood with from replaced by to
    std::vector<std::string> codes;
};
void PrintTo(const RuleCase& row, std::ostream* out) {
    *out << row.name;
}

class TxtSetupRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(TxtSetupRuleTest, IsFoundAtItsLine) {
    std::string text = kGood;
    const std::size_t at = text.find(GetParam().from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, GetParam().from.size(), GetParam().to);
    EXPECT_EQ(Codes(text), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TxtSetupRuleTest,
    ::testing::Values(RuleCase{"Clean", "", "", {}},
                      RuleCase{"NoDisksSection",
                               "[Disks]",
                               "[Other]",
                               {"missing-section:0", "unknown-disk:8", "unknown-disk:9"}},
                      RuleCase{"DiskLineShort",
                               "\\hx.tag, \\drv",
                               "\\hx.tag",
                               {"bad-disk-line:2", "unknown-disk:8", "unknown-disk:9"}},
                      RuleCase{"TagFileMissing", "\\hx.tag", "\\none.tag", {"missing-tag-file:2"}},
                      RuleCase{"DefaultNamesNoOption", "scsi = HX", "scsi = HY", {"bad-default:4"}},
                      RuleCase{"OptionWithoutFiles",
                               "[Files.scsi.HX]",
                               "[Files.scsi.HY]",
                               {"no-files-section:6", "config-not-driver-key:12"}},
                      RuleCase{"UnknownDisk", "inf = d1", "inf = d2", {"unknown-disk:9"}},
                      RuleCase{"FileNotOnTheDisk",
                               "inf = d1, hx.inf",
                               "inf = d1, hy.inf",
                               {"missing-disk-file:9"}},
                      RuleCase{"LongFileName",
                               "inf = d1, hx.inf",
                               "inf = d1, hx5820controller.inf",
                               {"missing-disk-file:9", "long-file-name:9"}},
                      RuleCase{"TwoDriverLines",
                               "inf = d1, hx.inf",
                               "driver = d1, hx.inf, hx2",
                               {"several-drivers:9"}},
                      // A public virtio-win F6 file names its [Config.X] after the option.
                      RuleCase{"ConfigNotTheDriverKey",
                               "[Config.hx]",
                               "[Config.hx5820]",
                               {"config-not-driver-key:12"}},
                      RuleCase{"ServiceNotTheImage",
                               "\"hx\"\r\n[Config",
                               "\"hx5820\"\r\n[Config",
                               {"service-not-driver:11"}}),
    NamedRow());

// The driver's key differs from its image and the ID names the key, as WinVBlock's F6 file does
// (image WVBlk32.Sys, key and service WinVBlock): a warning, since such disks install.
TEST(TxtSetupServiceTest, AServiceNamedAfterTheDriverKeyIsAWarning) {
    std::string text = kGood;
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"hx.sys, hx\r\n", "hx.sys, hxbus\r\n"},
          {"\"hx\"\r\n", "\"hxbus\"\r\n"},
          {"[Config.hx]", "[Config.hxbus]"}})
        text.replace(text.find(from), from.size(), to);
    EXPECT_EQ(Codes(text), std::vector<std::string>{"service-is-driver-key?:11"});
}

TEST(TxtSetupCrossCheckTest, SaysWhichDeviceEachListLacks) {
    // key.ini and the models know DEV_5821 too; TXTSETUP.OEM does not: it installs on a
    // running XP and cannot carry XP's own installation.
    const std::string models =
        "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\nD = Inst, PCI\\VEN_1A2B&DEV_5821\r\n";
    EXPECT_EQ(Codes(kGood, "A=VEN_1A2B&DEV_5820\r\nB=VEN_1A2B&DEV_5821\r\n", models),
              std::vector<std::string>{"f6-lacks-device:0"});
    EXPECT_EQ(Codes(kGood, "A=VEN_1A2B&DEV_5820\r\n", "D = Inst, PCI\\VEN_1A2B&DEV_5820\r\n"),
              std::vector<std::string>{});
    // Only the F6 file names it: text-mode setup installs it, and no more.
    EXPECT_EQ(Codes(kGood, "A=VEN_1A2B&DEV_5821\r\n", "D = Inst, PCI\\VEN_1A2B&DEV_5821\r\n"),
              (std::vector<std::string>{"f6-lacks-device:0", "device-only-in-f6?:0"}));
}
}  // namespace
