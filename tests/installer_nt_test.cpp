// Windows 2000 and XP: the installer's command line, the refusal, and the wait for its window.
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const char* const kDevice = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01";
using Sleeps = std::vector<std::uint32_t>;

class InstallerNtTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWindowsVersion(os, "winxp");
        UsePackageAt("C:\\Disk\\");
        os.AddKey(std::string(kNtPciBranch) + "\\VEN_1002&DEV_4C59");
        os.AddKey(std::string(kNtPciBranch) + "\\" + kDevice + "\\3&61aaa01&0&E8");
    }
    void UsePackageAt(const std::string& dir) {
        os.modulePath = dir + "setup.exe";
        AddPackage(os, dir, "[PCI]\r\nICH4=DEV_24C2\r\n");
    }
    // The started installer owns a window titled title from `opens` to `closes` ms after start.
    void InstallerWindow(const std::string& title, std::uint64_t opens, std::uint64_t closes) {
        os.onWinExec = [=](CFakeOs& fake, const std::string&) {
            fake.windows.push_back({title, fake.nowMs + opens, fake.nowMs + closes});
        };
    }

    CFakeOs os;
};

TEST_F(InstallerNtTest, StartsTheInstallerHiddenWithTheInfAndHardwareId) {
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_FALSE(run.endedByExitCall);
    ASSERT_EQ(os.commandLines.size(), 1u);
    EXPECT_EQ(os.commandLines[0], std::string("C:\\Disk\\install.exe C:\\Disk\\Drv\\hx5820.inf "
                                              "\"PCI\\") +
                                      kDevice + "\"");
    EXPECT_EQ(os.execShowModes, std::vector<std::uint32_t>{0});  // SW_HIDE
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(run.deviceId, std::string(kDevice) + "\"");
    EXPECT_EQ(os.OpenKeyCount(), 0);
}

TEST_F(InstallerNtTest, Windows2000TakesTheSamePath) {
    SetWindowsVersion(os, "win2k");
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(os.commandLines, std::vector<std::string>{
                                   std::string("C:\\Disk\\install.exe C:\\Disk\\Drv\\hx5820.inf "
                                               "\"PCI\\") +
                                   kDevice + "\""});
    EXPECT_EQ(os.execShowModes, std::vector<std::uint32_t>{0});  // SW_HIDE
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(InstallerNtTest, PathsWithBlanksAreQuotedEachOnItsOwn) {
    CFakeOs other;
    SetWindowsVersion(other, "winxp");
    other.modulePath = "D:\\My Disk\\Setup.exe";
    AddPackage(other, "D:\\My Disk\\", "ICH4=DEV_24C2\r\n");
    other.AddKey(std::string(kNtPciBranch) + "\\" + kDevice);
    other.onWinExec = [](CFakeOs& fake, const std::string&) {
        fake.windows.push_back({"D:\\My Disk\\Install.exe", fake.nowMs, fake.nowMs + 3000});
    };
    RunLauncher(other);
    ASSERT_EQ(other.commandLines.size(), 1u);
    EXPECT_EQ(other.commandLines[0],
              std::string("\"D:\\My Disk\\install.exe\" \"D:\\My Disk\\Drv\\hx5820.inf\" \"PCI\\") +
                  kDevice + "\"");
    // The window title stays the bare path.
    EXPECT_EQ(other.sleeps, (Sleeps{500, 2000, 2000}));
}

TEST_F(InstallerNtTest, NoSupportedDeviceRefusesWithoutStartingTheInstaller) {
    CFakeOs other;
    SetWindowsVersion(other, "win2k");
    AddPackage(other, "C:\\Disk\\", "ICH4=DEV_24C2\r\n");
    other.AddKey(std::string(kNtPciBranch) + "\\VEN_1002&DEV_4C59");
    const LauncherRun run = RunLauncher(other);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.endedByExitCall);
    ASSERT_EQ(other.boxes.size(), 1u);
    EXPECT_EQ(Shown(other.boxes[0]), ExpectedBoxNamed("no_device_nt"));
    EXPECT_TRUE(other.commandLines.empty());
}

TEST_F(InstallerNtTest, WaitsWhileTheInstallerWindowExistsLookingEveryTwoSeconds) {
    // Titles compare without regard to case; the window goes at 8000 ms.
    InstallerWindow("C:\\DISK\\INSTALL.EXE", 0, 8000);
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(os.sleeps, (Sleeps{500, 2000, 2000, 2000, 2000}));
    EXPECT_EQ(run.exitStatus, 0);
}

TEST_F(InstallerNtTest, WaitHasNoTimeLimit) {
    InstallerWindow("C:\\Disk\\install.exe", 0, 3 * 3600 * 1000);
    RunLauncher(os);
    EXPECT_EQ(os.sleeps.size(), 1u + 3 * 1800);
    EXPECT_GE(os.nowMs, 3u * 3600 * 1000);
}

TEST_F(InstallerNtTest, AnyWindowWithTheTitleKeepsItWaiting) {
    os.windows.push_back({"C:\\Disk\\Install.exe", 0, 4600});  // not the installer's own
    RunLauncher(os);
    EXPECT_EQ(os.sleeps, (Sleeps{500, 2000, 2000, 2000}));
}

TEST_F(InstallerNtTest, WindowShownAfterTheFirstLookIsNotWaitedFor) {
    InstallerWindow("C:\\Disk\\Install.exe", 600, 60000);
    RunLauncher(os);
    EXPECT_EQ(os.sleeps, Sleeps{500});
}

TEST_F(InstallerNtTest, OtherTitlesDoNotCount) {
    InstallerWindow("C:\\Disk\\Install", 0, 60000);
    RunLauncher(os);
    EXPECT_EQ(os.sleeps, Sleeps{500});
}

TEST_F(InstallerNtTest, InstallerThatCannotStartEndsTheWaitAtOnce) {
    InstallerWindow("C:\\Disk\\Install.exe", 0, 60000);
    os.FailAlways(FakeOp::WinExec);
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(os.sleeps, Sleeps{500});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(os.boxes.empty());
}
}  // namespace
