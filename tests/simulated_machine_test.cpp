// The simulated machine's own rules, where it is as strict as the Windows family it reports.
#include "platform/mbcs_text.h"
#include "sim/app_runner.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <string>

namespace {
const OsKey kHklm = 0x80000002u;
const std::uint32_t kKeyRead = 0x00020019u;
const std::uint32_t kKeyAllAccess = 0x000F003Fu;

struct OpenCase {
    const char* name;
    const char* version;
    const char* path;
    std::uint32_t options;
    std::uint32_t access;
    long expected;
};

void PrintTo(const OpenCase& row, std::ostream* out) {
    *out << row.name;
}

class RegistryOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(RegistryOpenTest, GivesTheFamilysAnswer) {
    const OpenCase& c = GetParam();
    CFakeOs os;
    SetWindowsVersion(os, c.version);
    os.AddKey("SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_1");
    os.AddKey("SYSTEM\\CurrentControlSet\\Control");
    os.AddKey("Enum\\PCI\\VEN_1");
    OsKey key = 0x77;
    EXPECT_EQ(os.RegOpenKeyExA(kHklm, c.path, c.options, c.access, &key), c.expected);
    // A refused argument leaves the result as it was; a key not opened sets it to 0.
    if (c.expected == 0)
        EXPECT_NE(key, 0u);
    else
        EXPECT_EQ(key, c.expected == 87 ? OsKey{0x77} : OsKey{0});
    EXPECT_EQ(os.OpenKeyCount(), c.expected == 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryOpenTest,
    ::testing::Values(
        // NT: below ...\Enum an administrator may only read.
        OpenCase{"XpReadsBelowEnum", "winxp", "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0, kKeyRead,
                 0},
        OpenCase{"XpReadsBelowEnumInAnyCase", "winxp",
                 "system\\currentcontrolset\\enum\\pci\\ven_1", 0, kKeyRead, 0},
        OpenCase{"XpRefusesAllAccessBelowEnum", "winxp", "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                 kKeyAllAccess, 5},
        OpenCase{"Win2kRefusesSetValueOnEnum", "win2k", "SYSTEM\\CurrentControlSet\\Enum", 0,
                 0x0002u /*SET_VALUE*/, 5},
        OpenCase{"Win2kRefusesCreateSubKeyBelowEnum", "win2k",
                 "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0, 0x0004u /*CREATE_SUB*/, 5},
        OpenCase{"XpRefusesDeleteBelowEnum", "winxp", "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                 0x00010000u /*DELETE*/, 5},
        OpenCase{"XpRefusesWriteDacBelowEnum", "winxp", "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                 0x00040000u /*DAC*/, 5},
        OpenCase{"XpGivesAllAccessOutsideEnum", "winxp", "SYSTEM\\CurrentControlSet\\Control", 0,
                 kKeyAllAccess, 0},
        // 9x has no registry security.
        OpenCase{"Win98GivesAllAccessBelowEnum", "win98", "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                 kKeyAllAccess, 0},
        OpenCase{"MeGivesAllAccessTo9xBranch", "winme", "Enum\\PCI", 0, kKeyAllAccess, 0},
        // Every option but REG_OPTION_OPEN_LINK is reserved.
        OpenCase{"OpenLinkOptionAccepted", "winxp", "Enum\\PCI", 8, kKeyRead, 0},
        OpenCase{"ReservedOptionRefused", "winxp", "Enum\\PCI", 1, kKeyRead, 87},
        OpenCase{"Win98RefusesEveryReservedOption", "win98", "Enum\\PCI", 0xFFFFFFFFu,
                 kKeyAllAccess, 87},
        OpenCase{"MissingKeyNotFound", "winxp", "Enum\\PCI\\VEN_2", 0, kKeyRead, 2},
        OpenCase{"LeadingBackslashIsABadPath", "winxp", "\\Enum\\PCI", 0, kKeyRead, 161}),
    NamedRow());

TEST(SimulatedMachineTest, UnknownHandlesAndNtDeletionsAreRefused) {
    CFakeOs os;
    std::uint32_t count = 0;
    char name[8];
    EXPECT_EQ(os.RegQueryInfoKeyA(0x1234, &count), 6);
    EXPECT_EQ(os.RegEnumKeyA(0x1234, 0, name, sizeof name), 6);
    EXPECT_EQ(os.RegCloseKey(0x1234), 6);
    EXPECT_EQ(os.RegCloseKey(kHklm), 0);

    // NT checks each call against the handle's rights; 9x checks none.
    os.AddKey("SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_1");
    for (const char* version : {"winxp", "win98"}) {
        SetWindowsVersion(os, version);
        const long expected = std::string(version) == "winxp" ? 5 : 0;
        OsKey pci = 0;
        ASSERT_EQ(os.RegOpenKeyExA(kHklm, "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                                   0x00020008u /*READ_CONTROL | ENUMERATE_SUB_KEYS*/, &pci),
                  0);
        EXPECT_EQ(os.RegQueryInfoKeyA(pci, &count), expected) << version;
        EXPECT_EQ(os.RegEnumKeyA(pci, 0, name, sizeof name), 0) << version;
        os.RegCloseKey(pci);
        ASSERT_EQ(os.RegOpenKeyExA(kHklm, "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                                   0x00020001u /*READ_CONTROL | QUERY_VALUE*/, &pci),
                  0);
        EXPECT_EQ(os.RegEnumKeyA(pci, 0, name, sizeof name), expected) << version;
        os.RegCloseKey(pci);
    }

    os.AddKey("Enum\\PCI\\VEN_1\\instance");
    for (const char* version : {"win2k", "win98"}) {
        SetWindowsVersion(os, version);
        OsKey pci = 0;
        ASSERT_EQ(os.RegOpenKeyExA(kHklm, "Enum\\PCI", 0, kKeyAllAccess, &pci), 0);
        // NT deletes no key that has subkeys; 9x takes them along.
        EXPECT_EQ(os.RegDeleteKeyA(pci, "VEN_1"), std::string(version) == "win2k" ? 5 : 0);
        os.RegCloseKey(pci);
    }
}

std::string Bytes(const char* buffer, std::size_t size) {
    return std::string(buffer, size);
}

TEST(SimulatedMachineTest, OutputBuffersOfFailedOrCutCallsHoldNoTidyText) {
    CFakeOs os;
    os.modulePath = "C:\\Disk\\setup.exe";  // 17 bytes
    char buffer[17];
    EXPECT_EQ(os.GetModuleFileNameA(nullptr, buffer, 17), 17u);
    EXPECT_EQ(Bytes(buffer, 17), "C:\\Disk\\setup.exe");  // no NUL on XP
    SetWindowsVersion(os, "vista");
    EXPECT_EQ(os.GetModuleFileNameA(nullptr, buffer, 17), 17u);
    EXPECT_EQ(Bytes(buffer, 17), std::string("C:\\Disk\\setup.ex\0", 17));
    os.FailCall(FakeOp::GetModuleFileNameA, 3);
    EXPECT_EQ(os.GetModuleFileNameA(nullptr, buffer, 17), 0u);
    EXPECT_EQ(Bytes(buffer, 17), std::string(17, '\xDD'));

    os.windowsDir = "C:\\WINDOWS";
    EXPECT_EQ(os.GetWindowsDirectoryA(buffer, 10), 11u);
    EXPECT_EQ(Bytes(buffer, 10), std::string(10, '\xDD'));

    os.AddKey("Enum\\PCI\\VEN_8086&DEV_1");
    OsKey pci = 0;
    ASSERT_EQ(os.RegOpenKeyExA(kHklm, "Enum\\PCI", 0, kKeyRead, &pci), 0);
    EXPECT_EQ(os.RegEnumKeyA(pci, 0, buffer, 8), 234);
    EXPECT_EQ(Bytes(buffer, 8), "VEN_8086");  // cut, no NUL

    const char* block = static_cast<const char*>(os.MemAlloc(16));
    EXPECT_EQ(Bytes(block, 16), std::string(16, '\xCD'));  // malloc does not zero
}

TEST(SimulatedMachineTest, CallsFollowTheFamilysRules) {
    CFakeOs os;
    OsVersionInfo info{};
    for (const char* version : {"win98", "winme", "nt40"}) {
        SetWindowsVersion(os, version);
        info.dwOSVersionInfoSize = 156;  // OSVERSIONINFOEXA is new in Windows 2000
        EXPECT_EQ(os.GetVersionExA(&info), 0) << version;
        info.dwOSVersionInfoSize = 148;
        EXPECT_EQ(os.GetVersionExA(&info), 1) << version;
    }

    // A missing program does not start; an unquoted path may hold blanks.
    os.AddFile("C:\\My Disk\\install.exe", "");
    EXPECT_EQ(os.WinExec("C:\\Disk\\install.exe a", 0), 2u);
    EXPECT_EQ(os.WinExec("C:\\My Disk\\install a", 0), 33u);
    EXPECT_EQ(os.WinExec("\"C:\\My Disk\\install.exe\" a", 0), 33u);

    // An unknown box type shows nothing; MB_CANCELTRYCONTINUE is new in Windows 2000.
    EXPECT_EQ(os.MessageBoxA(nullptr, "t", "c", 0x50u), 0);
    EXPECT_EQ(os.MessageBoxA(nullptr, "t", "c", 6u), 0);
    EXPECT_TRUE(os.boxes.empty());
    EXPECT_EQ(os.MessageBoxA(nullptr, "t", "c", 0x34u), 6);  // IDYES

    // No copy onto itself; a copy takes the source's read-only attribute.
    os.AddFile("C:\\a\\src.sys", "x");
    os.SetReadOnly("C:\\a\\src.sys");
    EXPECT_EQ(os.CopyFileA("C:\\a\\src.sys", "C:\\A\\SRC.SYS", 0), 0);
    EXPECT_EQ(os.CopyFileA("C:\\a\\src.sys", "C:\\a\\dst.sys", 0), 1);
    EXPECT_EQ(os.CopyFileA("C:\\a\\src.sys", "C:\\a\\dst.sys", 0), 0);
}

TEST(SimulatedMachineTest, TrailBytesAreNeverFoldedInNames) {
    CFakeOs os;
    os.SetCodePage(950);  // A5 61 and A5 41 are two different Big5 characters
    os.AddKey("Enum\\PCI\\\xA5"
              "a");
    EXPECT_FALSE(os.KeyExists("Enum\\PCI\\\xA5"
                              "A"));
    EXPECT_TRUE(os.KeyExists("ENUM\\pci\\\xA5"
                             "a"));
    os.windows.push_back({"C:\\\xA5"
                          "a\\Install.exe",
                          0, 10});
    EXPECT_EQ(os.FindWindowA(nullptr, "C:\\\xA5"
                                      "A\\INSTALL.EXE"),
              nullptr);
    EXPECT_NE(os.FindWindowA(nullptr, "c:\\\xA5"
                                      "a\\install.exe"),
              nullptr);
}
}  // namespace

namespace {
// The launcher runs on the machine a test installs, and on no other: none installed, or a
// second one installed while the first is in place, ends the process before it runs a line.
TEST(SimulatedMachineDeathTest, OnlyTheInstalledMachineAnswers) {
    EXPECT_DEATH(Os().InitCommonControls(), "Os\\(\\) used with no CFakeOs installed");
    EXPECT_DEATH(
        {
            CFakeOs first;
            const FakeOsInstalled installedFirst(first);
            CFakeOs second;
            const FakeOsInstalled installedSecond(second);
        },
        "a second CFakeOs installed while another is in place");
    CFakeOs os;
    const FakeOsInstalled installed(os);
    const FakeOsInstalled again(os);  // RunLauncher inside a test that installed os
    Os().InitCommonControls();
    EXPECT_EQ(os.CallLog(), "InitCommonControls");
}

// Another thread's machine is not a second machine: it waits until the one in place is gone,
// and while it waits, the launcher's logic on the first thread still reaches the first machine.
TEST(SimulatedMachineTest, AnotherThreadsMachineWaitsForTheOneInPlace) {
    CFakeOs first, second;
    std::atomic<bool> installed{false};
    std::thread other;
    {
        const FakeOsInstalled inPlace(first);
        other = std::thread([&] {
            const FakeOsInstalled waiting(second);
            installed = true;
            Os().InitCommonControls();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(installed.load());
        Os().InitCommonControls();
    }
    other.join();
    EXPECT_TRUE(installed.load());
    EXPECT_EQ(first.CallLog(), "InitCommonControls");
    EXPECT_EQ(second.CallLog(), "InitCommonControls");
}

// The runtime's lead-byte table follows the installed machine's code page, set before or after
// it is installed.
TEST(SimulatedMachineTest, LeadByteTableFollowsTheCodePage) {
    CFakeOs os;
    os.SetCodePage(932);
    const FakeOsInstalled installed(os);
    EXPECT_TRUE(MbIsLeadByte(0x81));
    os.SetCodePage(950);
    EXPECT_TRUE(MbIsLeadByte(0xA1));  // 0x81 leads in Big5 too
    MbForgetLeadBytes();              // a new process's table, until the framework loads it
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_FALSE(MbIsLeadByte(static_cast<unsigned char>(byte))) << byte;
    os.SetCodePage(1252);
    EXPECT_FALSE(MbIsLeadByte(0xA1));
}
}  // namespace
