// keycheck predict: the launcher's run on a machine, and the steps keycheck reads off it.
#include "tools/keycheck/predict/prediction.h"

#include "sim/ansi_names.h"
#include "tests/expected_outcomes.h"
#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string kDevice = "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01";
const std::string kOther = "VEN_8086&DEV_7110&SUBSYS_00000000&REV_02";
const std::string kKeyIni = "[PCI]\r\nA=VEN_1A2B&DEV_5821\r\nB=DEV_5820\r\n";
const std::string kNtBranch = "SYSTEM\\CurrentControlSet\\Enum\\PCI";
const std::string k9xBranch = "Enum\\PCI";

class PredictionTest : public ::testing::Test {
protected:
    // The package at dir, run as setup.exe there, on Windows version (a Wine name).
    void Machine(const char* version, const std::string& keyIni = kKeyIni,
                 const std::string& dir = "D:\\") {
        setting = LauncherSetting{WindowsVersionByWineName(version), dir, "C:\\WINDOWS", 1252};
        files = LauncherPackageFiles(keyIni);
    }
    void Keys(const std::string& branch, const std::vector<std::string>& names) {
        for (const std::string& name : names)
            machine.tree.Add(SplitAnsiPath(branch + "\\" + name, 1252));
    }
    Prediction Predict() { return PredictLauncher(ReadTestPackage(files), machine, setting); }

    LauncherSetting setting{};
    PackageFiles files;
    MachineSource machine;
};

TEST_F(PredictionTest, NtInstallShowsEachKeyWithTheIdItHoldsAndTheCommandLine) {
    // An empty entry, which the launcher skips, comes first.
    Machine("winxp", "[PCI]\r\nE=\r\n" + kKeyIni.substr(7));
    Keys(kNtBranch, {kOther, kDevice + "\\4&1f7dbc9f&0&10", "VEN_1A2B&DEV_5821"});

    const Prediction p = Predict();

    EXPECT_EQ(p.osType, OS_WINXP);
    EXPECT_TRUE(p.keyFileRead);
    EXPECT_EQ(p.table, (std::vector<std::string>{"", "VEN_1A2B&DEV_5821", "DEV_5820"}));
    EXPECT_EQ(p.branch, kNtBranch);
    EXPECT_TRUE(p.branchInExport);
    ASSERT_EQ(p.subkeys.size(), 3u);
    EXPECT_EQ(p.subkeys[0].name, kOther);
    EXPECT_TRUE(p.subkeys[0].reached);
    EXPECT_EQ(p.subkeys[0].matchedEntry, -1);
    EXPECT_EQ(p.subkeys[1].matchedEntry, 2);  // through its last ID, DEV_5820
    // The walk ends at the first match: a later key that would match is never read.
    EXPECT_FALSE(p.subkeys[2].reached);
    EXPECT_EQ(p.subkeys[2].matchedEntry, -1);
    EXPECT_EQ(p.taken, 1);
    ASSERT_EQ(p.commandLines.size(), 1u);
    EXPECT_EQ(p.commandLines[0], "D:\\install.exe D:\\Drv\\hx5820.inf \"PCI\\" + kDevice + "\"");
    ASSERT_EQ(p.commandFiles.size(), 2u);
    EXPECT_EQ(p.commandFiles[0].path, "D:\\install.exe");
    EXPECT_TRUE(p.commandFiles[0].present);
    EXPECT_EQ(p.commandFiles[1].path, "D:\\Drv\\hx5820.inf");
    EXPECT_TRUE(p.commandFiles[1].present);
    EXPECT_TRUE(p.boxes.empty());
    EXPECT_TRUE(p.keysDeleted.empty());
    EXPECT_EQ(p.exitStatus, 0);
    EXPECT_TRUE(p.Installs());
}

TEST_F(PredictionTest, QuotedPathsAreCheckedInThePackage) {
    Machine("win2k", kKeyIni, "E:\\My Disk\\");
    Keys(kNtBranch, {kDevice});
    const Prediction p = Predict();
    ASSERT_EQ(p.commandLines.size(), 1u);
    EXPECT_EQ(p.commandLines[0], "\"E:\\My Disk\\install.exe\" \"E:\\My Disk\\Drv\\hx5820.inf\" "
                                 "\"PCI\\" +
                                     kDevice + "\"");
    ASSERT_EQ(p.commandFiles.size(), 2u);
    EXPECT_EQ(p.commandFiles[0].path, "E:\\My Disk\\install.exe");
    EXPECT_TRUE(p.commandFiles[0].present && p.commandFiles[1].present);
}

TEST_F(PredictionTest, W9xPlacementShowsTheDeletedKeyAndEveryCopy) {
    setting = LauncherSetting{WindowsVersionByWineName("win98"), "D:\\", "C:\\WIN98", 1252};
    files.Add("key.ini", kKeyIni);
    files.Add("DRV\\HX5820.INA", "ina");
    Keys(k9xBranch, {kOther + "\\0", kDevice + "\\0000"});

    const Prediction p = Predict();

    EXPECT_EQ(p.osType, OS_WIN98SE);
    EXPECT_EQ(p.branch, k9xBranch);
    EXPECT_EQ(p.taken, 1);
    EXPECT_EQ(p.keysDeleted, std::vector<std::string>{kDevice});
    EXPECT_TRUE(p.commandLines.empty());
    ASSERT_EQ(p.copies.size(), 11u);
    EXPECT_EQ(p.copies[0].source.path, "D:\\drv\\hx5820.ina");
    EXPECT_TRUE(p.copies[0].source.present);
    EXPECT_EQ(p.copies[0].destination, "C:\\WIN98\\inf\\hx5820.inf");
    EXPECT_EQ(p.copies[1].source.path, "D:\\drv\\hx5820.mpd");
    EXPECT_FALSE(p.copies[1].source.present);
    EXPECT_EQ(p.copies[1].destination, "C:\\WIN98\\system\\IoSubsys\\hx5820.mpd");
    EXPECT_TRUE(p.boxes.empty());
    EXPECT_TRUE(p.Installs());
}

struct RefusalCase {
    const char* version;
    bool keyFile;
    bool device;
    const char* box;  // its name in tests/expected_boxes.txt
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.version;
}

class PredictionRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PredictionRefusalTest, ShowsTheLaunchersBox) {
    const RefusalCase& c = GetParam();
    PackageFiles files;
    if (c.keyFile)
        files.Add("key.ini", kKeyIni);
    MachineSource machine;
    for (const std::string& branch : {kNtBranch, k9xBranch})
        machine.tree.Add(SplitAnsiPath(branch + "\\" + (c.device ? kDevice : kOther), 1252));
    const LauncherSetting setting{WindowsVersionByWineName(c.version), "D:\\", "C:\\WINDOWS", 1252};

    const Prediction p = PredictLauncher(ReadTestPackage(std::move(files)), machine, setting);

    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_EQ(Shown(p.boxes[0]), ExpectedBoxNamed(c.box));
    EXPECT_FALSE(p.Installs());
    EXPECT_EQ(p.exitStatus, 0);
    EXPECT_EQ(p.keyFileRead, c.keyFile && p.searched);
    EXPECT_EQ(p.taken, -1);
}

INSTANTIATE_TEST_SUITE_P(Versions, PredictionRefusalTest,
                         ::testing::Values(RefusalCase{"winxp", true, false, "no_device_nt"},
                                           RefusalCase{"winme", true, false, "no_device_9x"},
                                           RefusalCase{"win2k", false, true, "no_key_file"},
                                           RefusalCase{"win98", false, true, "no_key_file"},
                                           RefusalCase{"win98fe", true, true, "unsupported"},
                                           RefusalCase{"win2003", true, false, "no_device_nt"},
                                           RefusalCase{"vista", true, true, "unsupported"}),
                         [](const auto& row) { return std::string(row.param.version); });

TEST_F(PredictionTest, MissingBranchIsTold) {
    Machine("winxp");
    Keys(k9xBranch, {kDevice});
    const Prediction p = Predict();
    EXPECT_TRUE(p.searched);
    EXPECT_FALSE(p.branchInExport);
    EXPECT_TRUE(p.subkeys.empty());
    EXPECT_FALSE(p.Installs());
}

TEST(PredictionAgainTest, NoTableIsLeftFromAnEarlierRun) {
    const LauncherSetting xp{WindowsVersionByWineName("winxp"), "D:\\", "C:\\WINDOWS", 1252};
    const MachineSource machine;
    EXPECT_TRUE(
        PredictLauncher(ReadTestPackage(LauncherPackageFiles(kKeyIni)), machine, xp).keyFileRead);
    const Prediction p = PredictLauncher(ReadTestPackage(PackageFiles()), machine, xp);
    EXPECT_FALSE(p.keyFileRead);
    EXPECT_TRUE(p.table.empty());
}
}  // namespace
