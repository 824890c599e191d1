// predict's last step: whether the INF the version is given has a models line for the device.
#include "tools/keycheck/predict/install_check.h"

#include "tests/table_rows.h"
#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kDevice = "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01";

// An INF every version reads, its one models line naming ids.
std::string Inf(const std::string& ids) {
    return "[Version]\r\nSignature=\"$Chicago$\"\r\nClass=SCSIAdapter\r\n"
           "[Manufacturer]\r\n%Mfg%=HX\r\n[HX]\r\n%Desc%=HX5820, " +
           ids + "\r\n[HX5820]\r\n[Strings]\r\nMfg=\"HX\"\r\nDesc=\"HX5820\"\r\n";
}

struct Case {
    const char* name;
    const char* version;  // a Wine name
    std::string exportText;
    std::string infIds;
    bool checked;
    bool installs;
    bool idsFromExport;
    DeviceIdKind kind;
};
void PrintTo(const Case& row, std::ostream* out) {
    *out << row.name;
}

const std::string kNtKey = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\" + kDevice;
const std::string k9xKey = "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\" + kDevice;
// HardwareID PCI\VEN_1A2B&DEV_5820 as a REGEDIT4 multi-string (code-page bytes).
const std::string kNtIds = "\"HardwareID\"=hex(7):50,43,49,5c,56,45,4e,5f,31,41,32,42,26,44,45,"
                           "56,5f,35,38,32,30,00,00\r\n";
const std::string k9xIds = "\"HardwareID\"=\"PCI\\\\" + kDevice +
                           ",PCI\\\\VEN_1A2B&DEV_5820\"\r\n\"CompatibleIDs\"="
                           "\"PCI\\\\CC_0104\"\r\n";

const Case kCases[] = {
    {"NtHardwareIdFromTheExport", "winxp", kNtKey + "\\4&1&0&10]\r\n" + kNtIds,
     "PCI\\VEN_1A2B&DEV_5820", true, true, true, DeviceIdKind::HardwareId},
    {"NineXCompatibleIdFromTheExport", "win98", k9xKey + "\\BUS_00&DEV_10&FUNC_00]\r\n" + k9xIds,
     "PCI\\CC_0104", true, true, true, DeviceIdKind::CompatibleId},
    {"KeyNameWhenTheExportHasNoIds", "win2k", kNtKey + "\\4&1&0&10]\r\n", "PCI\\" + kDevice, true,
     true, false, DeviceIdKind::HardwareId},
    {"NoLineForTheDevice", "winme", k9xKey + "\\BUS_00&DEV_10&FUNC_00]\r\n" + k9xIds,
     "PCI\\VEN_1A2B&DEV_5821", true, false, true, DeviceIdKind::HardwareId},
    {"NotCheckedWhenTheLauncherRefuses", "winxp", k9xKey + "]\r\n", "PCI\\VEN_1A2B&DEV_5820", false,
     false, false, DeviceIdKind::HardwareId},
    {"NotCheckedOnAnUnsupportedVersion", "nt40", kNtKey + "]\r\n", "PCI\\VEN_1A2B&DEV_5820", false,
     false, false, DeviceIdKind::HardwareId},
};

class InstallCheckTest : public ::testing::TestWithParam<Case> {};

TEST_P(InstallCheckTest, FindsTheModelsLineForTheDeviceTaken) {
    const Case& c = GetParam();
    PackageFiles files = LauncherPackageFiles("[PCI]\r\nA=VEN_1A2B&DEV_5820\r\n");
    // 98 SE is given the .ina, the others the .inf.
    files.Add("drv\\hx5820.inf", Inf(c.infIds));
    files.Add("drv\\hx5820.ina", Inf(c.infIds));
    const Package package = ReadTestPackage(std::move(files));
    MachineSource machine;
    std::string error;
    ASSERT_TRUE(ReadMachine("REGEDIT4\r\n" + c.exportText, "m.reg", 1252, {}, machine, error))
        << error;
    const LauncherSetting setting{WindowsVersionByWineName(c.version), "D:\\", "C:\\WINDOWS", 1252};

    const Prediction prediction = PredictLauncher(package, machine, setting);
    const InstallCheck check = CheckInstall(package, machine, prediction, true);

    EXPECT_EQ(check.checked, c.checked);
    EXPECT_EQ(check.verdict.installs, c.installs);
    EXPECT_EQ(check.idsFromExport, c.idsFromExport);
    if (c.installs) {
        EXPECT_EQ(check.verdict.kind, c.kind);
        EXPECT_EQ(check.verdict.line.hardwareId, c.infIds);
        EXPECT_EQ(check.verdict.line.line, 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallCheckTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });
}  // namespace
