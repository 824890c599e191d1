// The launcher from start-up to its end: program directory, version dispatch, refusals.
#include "app/driver_setup_app.h"
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
class UnsupportedVersionTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UnsupportedVersionTest, ShowsOneBoxAndExitsWithZero) {
    CFakeOs os;
    SetWindowsVersion(os, GetParam());
    AddPackage(os, "C:\\Disk\\", "[PCI]\r\nID1=VEN_8086\r\n");
    os.AddKey(std::string(kNtPciBranch) + "\\VEN_8086&DEV_1234");
    os.AddKey(std::string(k9xPciBranch) + "\\VEN_8086&DEV_1234");

    const LauncherRun run = RunLauncher(os);

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.endedByExitCall);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("unsupported"));
    // Nothing of the package was touched.
    EXPECT_EQ(os.CallLog().find("RegOpenKeyExA"), std::string::npos);
    EXPECT_EQ(os.CallLog().find("FileOpen"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Versions, UnsupportedVersionTest,
                         ::testing::Values("win31", "win95", "win98fe", "nt40", "vista", "win10"),
                         [](const auto& row) { return std::string(row.param); });

// The boxes themselves are the golden table's (shipped_boxes_test.cpp).
TEST(LauncherFlowTest, AnUnreadableOrUnknownVersionIsNoVersionTheLauncherInstallsOn) {
    CFakeOs unreadable;
    unreadable.acceptedVersionSizes = {};
    CFakeOs unknown;
    unknown.SetVersion(3, 5, 1, 2600);
    for (CFakeOs* os : {&unreadable, &unknown}) {
        const LauncherRun run = RunLauncher(*os);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.osType, OS_NONE);
        EXPECT_EQ(os->boxes.size(), 2u);
    }
}

TEST(LauncherFlowTest, StartUpSetsTheCodePageFirstAndReadsItsPathBeforeTheVersion) {
    CFakeOs os;
    SetWindowsVersion(os, "vista");
    RunLauncher(os);
    EXPECT_EQ(os.CallLog(),
              "SetMultibyteCodePage GetModuleFileNameA InitCommonControls GetModuleFileNameA "
              "GetVersionExA MessageBoxA ExitProcess");
}

TEST(LauncherFlowTest, ApplicationObjectIsTheApplicationOnlyForItsLifetime) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    {
        CDriverSetupApp app;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

struct DirCase {
    const char* name;
    int codePage;
    const char* modulePath;
    const char* expectedDir;
};
void PrintTo(const DirCase& row, std::ostream* out) {
    *out << row.name;
}

class ProgramDirectoryTest : public ::testing::TestWithParam<DirCase> {};

TEST_P(ProgramDirectoryTest, IsThePathUpToItsLastBackslash) {
    CFakeOs os;
    os.SetCodePage(GetParam().codePage);
    os.modulePath = GetParam().modulePath;
    SetWindowsVersion(os, "vista");
    EXPECT_EQ(RunLauncher(os).appDir, GetParam().expectedDir);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramDirectoryTest,
    ::testing::Values(
        DirCase{"Plain", 1252, "C:\\Disk\\Setup.exe", "C:\\Disk\\"},
        DirCase{"DriveRoot", 1252, "Q:\\setup.exe", "Q:\\"},
        DirCase{"Network", 1252, "\\\\server\\share\\d\\setup.exe", "\\\\server\\share\\d\\"},
        // Big5 A5 5C ends in 0x5C: under 950 it is one character, not a separator.
        DirCase{"Big5TrailInFileName", 950, "C:\\Disk\\\xA5\x5C.exe", "C:\\Disk\\"},
        DirCase{"Big5TrailInFolder", 950, "C:\\\xA5\x5C\\setup.exe", "C:\\\xA5\x5C\\"},
        DirCase{"ShiftJisTrailInFileName", 932, "C:\\D\\\x95\x5C.exe", "C:\\D\\"},
        // The same bytes under the Western code page hold a backslash of their own.
        DirCase{"WesternSameBytes", 1252, "C:\\Disk\\\xA5\x5C.exe", "C:\\Disk\\\xA5\x5C"}),
    NamedRow());

TEST(LauncherFlowTest, UntrustedModulePathNeverLeadsToAKeyFile) {
    // A failed call, and a path that fills the whole 512-byte buffer with no NUL.
    for (int variant = 0; variant < 2; ++variant) {
        CFakeOs os;
        SetWindowsVersion(os, "winxp");
        AddPackage(os, "", "ID=VEN_8086\r\n");  // a key.ini relative to any folder
        if (variant == 0)
            os.FailAlways(FakeOp::GetModuleFileNameA);
        else
            os.modulePath = "C:\\" + std::string(600, 'd') + "\\setup.exe";

        const LauncherRun run = RunLauncher(os);

        EXPECT_EQ(run.appDir, "");
        EXPECT_EQ(run.exitStatus, 0);
        ASSERT_EQ(os.boxes.size(), 1u);
        EXPECT_EQ(os.boxes[0].text, ExpectedBoxNamed("no_key_file").text);
        EXPECT_EQ(os.boxes[0].type, 0x30u);
        EXPECT_EQ(os.CallLog().find("FileOpen"), std::string::npos);
    }
}

// The module path at the edges of the framework's 260-byte buffer (the program's name, the
// caption of its box) and the launcher's 512-byte one (the program directory). A path that
// fills a buffer comes back cut, with no NUL (2000 and XP), and is not used; one byte less
// fits with its NUL. The package has no key.ini, so every run ends in the framework's box.
// The sanitizers see any read past a buffer.
struct PathLengthCase {
    std::size_t length;
    bool dirKept;
    const char* caption;
};
void PrintTo(const PathLengthCase& row, std::ostream* out) {
    *out << row.length << " bytes";
}

class ModulePathLengthTest
    : public ::testing::TestWithParam<std::tuple<PathLengthCase, const char*>> {};

TEST_P(ModulePathLengthTest, PathThatFillsABufferIsNotUsed) {
    const PathLengthCase& c = std::get<0>(GetParam());
    const std::string dir = "C:\\" + std::string(c.length - 13, 'd') + "\\";
    const std::string path = dir + "setup.exe";
    ASSERT_EQ(path.size(), c.length);
    CFakeOs os;
    SetWindowsVersion(os, std::get<1>(GetParam()));
    os.modulePath = path;
    AddPackage(os, "", "ID=VEN_8086\r\n");  // a key.ini relative to any folder

    const LauncherRun run = RunLauncher(os);

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.appDir, c.dirKept ? dir : "");
    EXPECT_EQ(os.CallLog().find("FileOpen") != std::string::npos, c.dirKept);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(os.boxes[0].text, ExpectedBoxNamed("no_key_file").text);
    EXPECT_EQ(os.boxes[0].caption, c.caption);
    EXPECT_EQ(os.boxes[0].type, 0x30u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ModulePathLengthTest,
                         ::testing::Combine(::testing::Values(PathLengthCase{259, true, "setup"},
                                                              PathLengthCase{260, true, ""},
                                                              PathLengthCase{510, true, ""},
                                                              PathLengthCase{511, true, ""},
                                                              PathLengthCase{512, false, ""},
                                                              PathLengthCase{513, false, ""}),
                                            ::testing::Values("winxp", "win98")),
                         [](const auto& row) {
                             return "Bytes" + std::to_string(std::get<0>(row.param).length) + "On" +
                                    std::get<1>(row.param);
                         });

TEST(LauncherFlowTest, ApplicationMessageBoxIsCaptionedWithTheProgramName) {
    CFakeOs os;
    os.modulePath = "C:\\My.Disk\\drv.Setup.exe";
    SetWindowsVersion(os, "win98");  // reaches the key-file loader, which finds no file
    const LauncherRun run = RunLauncher(os);
    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(os.boxes[0].text, ExpectedBoxNamed("no_key_file").text);
    EXPECT_EQ(os.boxes[0].caption, "drv.Setup");
    EXPECT_EQ(os.boxes[0].type, 0x30u);  // MB_OK with the warning icon
}
}  // namespace

namespace {
// The launcher runs on the machine it is handed, also when another was made after it.
TEST(LauncherFlowTest, RunsOnTheMachineItIsHanded) {
    CFakeOs handed;
    AddPackage(handed, "C:\\Disk\\", "[PCI]\r\nID1=VEN_8086&DEV_24C2\r\n");
    handed.AddKey(std::string(kNtPciBranch) + "\\VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01");
    CFakeOs later;
    SetWindowsVersion(later, "vista");

    const LauncherRun run = RunLauncher(handed);

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(handed.commandLines.size(), 1u);
    EXPECT_TRUE(handed.boxes.empty());
    EXPECT_TRUE(later.calls.empty());
    EXPECT_TRUE(later.boxes.empty());
}
}  // namespace
