// The F6 checks: each rule text-mode setup goes by, and the three lists of devices compared.
#include "tools/keycheck/f6/f6_check.h"

#include "tests/table_rows.h"
#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A package folder whose TXTSETUP.OEM is text; the drv folder holds hx.sys, hx.inf; with
// keyIni, the launcher's package too, whose INF lists models.
std::vector<std::string> Codes(const std::string& text, const char* keyIni = nullptr,
                               const std::string& models = "") {
    PackageFiles files = keyIni != nullptr ? LauncherPackageFiles(keyIni) : PackageFiles();
    files.Add("TXTSETUP.OEM", text);
    files.Add("hx.tag", "tag");
    files.Add("drv\\hx.sys", "driver");
    files.Add("drv\\hx.inf", "inf");
    if (keyIni != nullptr)
        files.Add("Drv\\hx5820.inf", "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nM\r\n"
                                     "[M]\r\n" +
                                         models + "[Inst]\r\n");
    std::vector<std::string> codes;
    for (const Finding& finding : CheckF6File(ReadTestPackage(std::move(files)), true).findings)
        codes.push_back(CodeName(finding.code) +
                        std::string(finding.severity == Severity::Warning ? "?" : "") + ":" +
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
                               {"service-not-driver:11"}},
                      // The USB floppy lines F6 files carry for text-mode setup (KB916196):
                      // "#" ends the entry, usbstor is setup's own service. Our own lines, after
                      // the ones a published MegaSR F6 file and its forum copies carry.
                      RuleCase{"UsbFloppyLines",
                               "\"hx\"\r\n[Config",
                               "\"hx\" #--HX\r\nid = \"USB\\VID_03F0&PID_2001\", \"usbstor\" "
                               "#--HP\r\n[Config",
                               {}},
                      RuleCase{"HashInsideQuotesIsText",
                               "\"hx\"\r\n[Config",
                               "\"hx#2\"\r\n[Config",
                               {"service-not-driver:11"}},
                      // An editor of the time ends the file with a DOS end-of-file mark.
                      RuleCase{"DosEndOfFileMark",
                               "value = Parameters, x, REG_DWORD, 1\r\n",
                               "value = Parameters, x, REG_DWORD, 1\r\n\x1A",
                               {}},
                      RuleCase{"TextAfterTheEndOfFileMark", "[Config.hx]", "\x1A[Config.hx]", {}},
                      // "%" where "&" belongs, as three lines of a published SCSI F6 file have.
                      RuleCase{"MalformedPciId",
                               "PCI\\VEN_1A2B&DEV_5820",
                               "PCI\\VEN_1A2B%DEV_5820",
                               {"bad-pci-id:11"}}),
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
