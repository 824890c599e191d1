// Windows 98 SE and Me: the device key removed and the package files placed, in order.
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Lines = std::vector<std::string>;
const std::string kDevice = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01";

class DriverFiles9xTest : public ::testing::Test {
protected:
    void Machine(const char* version, const std::string& windowsDir = "C:\\WINDOWS") {
        SetWindowsVersion(os, version);
        os.windowsDir = windowsDir;
        const std::string w = windowsDir.size() == 3 ? windowsDir.substr(0, 2) : windowsDir;
        for (const char* folder : {"\\Options\\install", "\\inf", "\\system\\IoSubsys"})
            os.AddFolder(w + folder);
        AddPackage(os, "C:\\Disk\\", "[PCI]\r\nICH4=DEV_24C2\r\n");
        os.AddKey(std::string(k9xPciBranch) + "\\VEN_1002&DEV_4C59\\0");
        os.AddKey(std::string(k9xPciBranch) + "\\" + kDevice + "\\3&61AAA01&0&E8");
    }
    // The copies of version ("me" or "98se") below windowsDir, as the machine logs them.
    Lines Copies(const std::string& windowsDir, const char* version) {
        Lines lines;
        for (const auto& copy : ExpectedCopies(version))
            lines.push_back("C:\\Disk\\drv\\" + copy.first + " -> " + windowsDir + copy.second);
        return lines;
    }

    CFakeOs os;
};

TEST_F(DriverFiles9xTest, MeRemovesTheDeviceKeyAndCopiesItsListInOrder) {
    Machine("winme");
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_FALSE(run.endedByExitCall);
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(os.keysDeleted, Lines{kDevice});
    EXPECT_EQ(os.SubKeyNames(k9xPciBranch), Lines{"VEN_1002&DEV_4C59"});
    EXPECT_EQ(os.copiesAttempted, Copies("C:\\WINDOWS", "me"));
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\inf\\hx5820.inf"), "package hx5820.inf");
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\Options\\install\\hx5820.cat"), "package hx5820.cat");
}

TEST_F(DriverFiles9xTest, Se98CopiesItsListWithTheInfFromTheInaFile) {
    Machine("win98");
    RunLauncher(os);
    EXPECT_EQ(os.copiesAttempted, Copies("C:\\WINDOWS", "98se"));
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\inf\\hx5820.inf"), "package hx5820.ina");
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\system\\IoSubsys\\hx5820.mpd"), "package hx5820.mpd");
    EXPECT_FALSE(os.FileExists("C:\\WINDOWS\\system\\hx5820.cat"));
}

TEST_F(DriverFiles9xTest, WindowsAtADriveRootGetsNoDoubleBackslash) {
    Machine("winme", "C:\\");
    RunLauncher(os);
    EXPECT_EQ(os.copiesAttempted, Copies("C:", "me"));
    EXPECT_TRUE(os.FileExists("C:\\inf\\hx5820.inf"));
}

// The 260-byte buffer's edge: a 259-byte Windows directory fits with its NUL and is used; a
// 260-byte one does not, and every copy is skipped.
TEST_F(DriverFiles9xTest, WindowsDirectoryThatFillsTheBufferIsNotUsed) {
    for (const std::size_t length : {259u, 260u}) {
        CFakeOs machine;
        SetWindowsVersion(machine, "winme");
        machine.windowsDir = "C:\\" + std::string(length - 3, 'W');
        machine.AddFolder(machine.windowsDir + "\\inf");
        AddPackage(machine, "C:\\Disk\\", "ICH4=DEV_24C2\r\n");
        machine.AddKey(std::string(k9xPciBranch) + "\\" + kDevice);
        RunLauncher(machine);
        EXPECT_EQ(machine.copiesAttempted.size(), length == 259 ? 12u : 0u) << length;
        EXPECT_EQ(machine.FileExists(machine.windowsDir + "\\inf\\hx5820.inf"), length == 259);
    }
}

TEST_F(DriverFiles9xTest, FailedCopiesAreSkippedAndTheRestMade) {
    SetWindowsVersion(os, "win98");
    os.AddFolder("C:\\WINDOWS\\inf");
    os.AddFolder("C:\\WINDOWS\\system");  // no IoSubsys folder
    AddPackage(os, "C:\\Disk\\", "ICH4=DEV_24C2\r\n");
    os.AddKey(std::string(k9xPciBranch) + "\\" + kDevice);
    os.AddFile("C:\\WINDOWS\\system\\hx5820.sys", "old driver");         // overwritten
    os.AddFile("C:\\WINDOWS\\system\\hxpanel.cpl", "read-only applet");  // kept
    os.SetReadOnly("C:\\WINDOWS\\system\\hxpanel.cpl");
    os.FailCall(FakeOp::GetWindowsDirectoryA, 9);  // the copy of hxvport.vxd to system

    const LauncherRun run = RunLauncher(os);

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(os.copiesAttempted.size(), 10u);
    EXPECT_FALSE(os.FileExists("C:\\WINDOWS\\system\\IoSubsys\\hx5820.sys"));
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\system\\hx5820.sys"), "package hx5820.sys");
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\system\\hxpanel.cpl"), "read-only applet");
    EXPECT_FALSE(os.FileExists("C:\\WINDOWS\\system\\hxvport.vxd"));
    EXPECT_EQ(os.FileContent("C:\\WINDOWS\\system\\hxAuxDrv.sys"), "package hxAuxDrv.sys");
    EXPECT_FALSE(os.KeyExists(std::string(k9xPciBranch) + "\\" + kDevice));
}

TEST_F(DriverFiles9xTest, NoSupportedDeviceRefusesAndCopiesNothing) {
    SetWindowsVersion(os, "winme");
    os.AddFolder("C:\\WINDOWS\\inf");
    AddPackage(os, "C:\\Disk\\", "ICH4=DEV_24C2\r\n");
    os.AddKey(std::string(k9xPciBranch) + "\\VEN_1002&DEV_4C59");
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.endedByExitCall);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("no_device_9x"));
    EXPECT_TRUE(os.copiesAttempted.empty());
    EXPECT_TRUE(os.keysDeleted.empty());
}

TEST_F(DriverFiles9xTest, DeviceKeyThatCannotBeDeletedRefusesAndCopiesNothing) {
    Machine("win98");
    os.FailAlways(FakeOp::RegDeleteKeyA);
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("no_device_9x"));
    EXPECT_TRUE(os.copiesAttempted.empty());
}
}  // namespace
