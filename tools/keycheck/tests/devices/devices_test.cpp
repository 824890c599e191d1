// keycheck devices: the PCI devices of either family's export and the key.ini entry each holds.
#include "tools/keycheck/devices/package_match.h"
#include "tools/keycheck/devices/pci_devices.h"

#include "tools/keycheck/tests/package_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Ids = std::vector<std::string>;
const std::string kNt = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI";
const std::string k9x = "[HKEY_LOCAL_MACHINE\\Enum\\PCI";

// A multi-string as reg export writes it in a version 5.00 file: UTF-16LE bytes, each string
// ending in NUL and the list in one more.
std::string MultiString(const Ids& strings) {
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (const std::string& part : strings)
        text += part + '\0';
    text += '\0';
    std::string list = "hex(7):";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        list +=
            std::string(list.back() == ':' ? "" : ",") + hex[byte >> 4] + hex[byte & 0xF] + ",00";
    }
    return list;
}

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii)
        bytes += std::string(1, c) + '\0';
    return bytes;
}

class DevicesTest : public ::testing::Test {
protected:
    std::vector<PciBranch> Read(const std::string& bytes) {
        std::string error;
        EXPECT_TRUE(ReadMachine(bytes, "m.reg", 1252, {}, machine, error)) << error;
        return FindPciDevices(machine, 1252);
    }

    MachineSource machine;
};

TEST_F(DevicesTest, NtExportGivesMultiStringIdsPerInstance) {
    const auto branches = Read(Utf16(
        "Windows Registry Editor Version 5.00\r\n" + kNt + "\\VEN_1A2B&DEV_5820&REV_01]\r\n" + kNt +
        "\\VEN_1A2B&DEV_5820&REV_01\\4&1f&0&10]\r\n\"DeviceDesc\"=\"RAID\"\r\n\"HardwareID\"=" +
        MultiString({"PCI\\VEN_1A2B&DEV_5820&REV_01", "PCI\\VEN_1A2B&DEV_5820"}) +
        "\r\n\"CompatibleIDs\"=" + MultiString({"PCI\\VEN_1A2B", "PCI\\CC_0104"}) + "\r\n" + kNt +
        "\\VEN_1A2B&DEV_5820&REV_01\\4&1f&0&10\\Device Parameters]\r\n" + kNt +
        "\\VEN_8086&DEV_7110]\r\n"));
    ASSERT_EQ(branches.size(), 1u);
    EXPECT_TRUE(branches[0].nt);
    EXPECT_EQ(branches[0].path, "SYSTEM\\CurrentControlSet\\Enum\\PCI");
    ASSERT_EQ(branches[0].devices.size(), 2u);
    const PciDevice& raid = branches[0].devices[0];
    EXPECT_EQ(raid.name, "VEN_1A2B&DEV_5820&REV_01");
    ASSERT_EQ(raid.instances.size(), 1u);
    EXPECT_EQ(raid.instances[0].name, "4&1f&0&10");
    EXPECT_TRUE(raid.instances[0].hasDescription);
    EXPECT_EQ(raid.instances[0].description, "RAID");
    EXPECT_EQ(raid.instances[0].hardwareIds,
              (Ids{"PCI\\VEN_1A2B&DEV_5820&REV_01", "PCI\\VEN_1A2B&DEV_5820"}));
    EXPECT_EQ(raid.instances[0].compatibleIds, (Ids{"PCI\\VEN_1A2B", "PCI\\CC_0104"}));
    // A device key without instance keys is still listed.
    EXPECT_EQ(branches[0].devices[1].name, "VEN_8086&DEV_7110");
    EXPECT_TRUE(branches[0].devices[1].instances.empty());
}

TEST_F(DevicesTest, NineXExportGivesCommaSeparatedIdsAndBothBranchesComeNtFirst) {
    const auto branches =
        Read("REGEDIT4\r\n" + k9x + "\\VEN_1A2B&DEV_5820\\BUS_00&DEV_10&FUNC_00]\r\n" +
             "\"HardwareID\"=\"PCI\\\\VEN_1A2B&DEV_5820&REV_01,PCI\\\\VEN_1A2B&DEV_5820\"\r\n"
             "\"CompatibleIDs\"=\"PCI\\\\CC_0104,\"\r\n" +
             kNt + "\\VEN_1]\r\n" + kNt + "\\VEN_1\\0]\r\n\"DeviceDesc\"=dword:1\r\n");
    ASSERT_EQ(branches.size(), 2u);
    EXPECT_TRUE(branches[0].nt);
    EXPECT_FALSE(branches[1].nt);
    EXPECT_FALSE(branches[0].devices[0].instances[0].hasDescription);
    const DeviceInstance& instance = branches[1].devices[0].instances[0];
    EXPECT_FALSE(instance.hasDescription);
    EXPECT_EQ(instance.hardwareIds,
              (Ids{"PCI\\VEN_1A2B&DEV_5820&REV_01", "PCI\\VEN_1A2B&DEV_5820"}));
    EXPECT_EQ(instance.compatibleIds, Ids{"PCI\\CC_0104"});

    EXPECT_TRUE(Read("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Enum\\PCIX\\A]\r\n").empty());
}

TEST_F(DevicesTest, EachDeviceKeyHoldsTheEntryTheLauncherFindsInIt) {
    // As the launcher matches: case-sensitive, the first listed ID found, empty entries never.
    const Package package = ReadTestPackage(
        LauncherPackageFiles("[PCI]\r\nE=\r\nA=DEV_5820\r\nB=VEN_1A2B\r\nC=dev_7110\r\n"));
    auto branches = Read("REGEDIT4\r\n" + k9x + "\\VEN_1A2B&DEV_5820]\r\n" + k9x +
                         "\\VEN_1A2B&DEV_5821]\r\n" + k9x + "\\VEN_8086&DEV_7110]\r\n");
    const PackageMatch match = MatchPackage(package, branches);
    EXPECT_TRUE(match.keyFileRead);
    EXPECT_EQ(match.table, (Ids{"", "DEV_5820", "VEN_1A2B", "dev_7110"}));
    std::vector<int> entries;
    for (const PciDevice& device : branches[0].devices)
        entries.push_back(device.matchedEntry);
    EXPECT_EQ(entries, (std::vector<int>{1, 2, -1}));

    const PackageMatch none = MatchPackage(ReadTestPackage(PackageFiles()), branches);
    EXPECT_FALSE(none.keyFileRead);
    EXPECT_EQ(branches[0].devices[0].matchedEntry, -1);
}

// An INF every version reads, its one models line naming id.
std::string Inf(const std::string& id) {
    return "[Version]\r\nSignature=\"$Chicago$\"\r\n[Manufacturer]\r\nHX=HX\r\n[HX]\r\n"
           "RAID=HX5820, " +
           id + "\r\n[HX5820]\r\n";
}

TEST_F(DevicesTest, EachInstanceGetsTheLineOfEachVersionOfItsFamily) {
    PackageFiles files = LauncherPackageFiles("[PCI]\r\nA=VEN_1A2B&DEV_5820\r\n");
    files.Add("drv\\hx5820.inf", Inf("PCI\\VEN_1A2B&DEV_5820"));
    files.Add("drv\\hx5820.ina", Inf("PCI\\VEN_1A2B&DEV_5821"));
    const Package package = ReadTestPackage(std::move(files));
    auto branches = Read("REGEDIT4\r\n" + k9x + "\\VEN_1A2B&DEV_5820\\BUS_00]\r\n" +
                         "\"HardwareID\"=\"PCI\\\\VEN_1A2B&DEV_5820&REV_01\"\r\n"
                         "\"CompatibleIDs\"=\"PCI\\\\VEN_1A2B&DEV_5820\"\r\n" +
                         kNt +
                         "\\VEN_1A2B&DEV_5820\\4&1]\r\n\"HardwareID\"=hex(7):50,43,49,5c,"
                         "56,45,4e,5f,31,41,32,42,26,44,45,56,5f,35,38,32,30,00,00\r\n");
    MatchPackage(package, branches);
    const auto& nt = branches[0].devices[0].instances[0].installs;
    ASSERT_EQ(nt.size(), 2u);
    EXPECT_EQ(nt[0].version, OS_WIN2000);
    EXPECT_EQ(nt[1].version, OS_WINXP);
    EXPECT_TRUE(nt[1].installs);
    EXPECT_EQ(nt[1].kind, DeviceIdKind::HardwareId);
    EXPECT_EQ(nt[1].line.line, 6);
    const auto& w9x = branches[1].devices[0].instances[0].installs;
    ASSERT_EQ(w9x.size(), 2u);
    EXPECT_EQ(w9x[0].version, OS_WIN98SE);
    EXPECT_TRUE(w9x[0].infReadable);
    EXPECT_FALSE(w9x[0].installs);  // its .ina names another device
    EXPECT_EQ(w9x[1].version, OS_WINME);
    EXPECT_TRUE(w9x[1].installs);
    EXPECT_EQ(w9x[1].kind, DeviceIdKind::CompatibleId);
    EXPECT_EQ(w9x[1].id, "PCI\\VEN_1A2B&DEV_5820");
}
}  // namespace

namespace {
// An export from a Traditional Chinese machine: the description and the instance name are
// Unicode in the file and come out in the machine's code page, by that code page's table.
TEST(DevicesDoubleByteTest, UnicodeTextInTheMachinesCodePage) {
    // "RAID 控制器" in a DeviceDesc, and an instance name ending in 功 (A5 5C in Big5: its
    // trail byte is a backslash).
    std::string text = "Windows Registry Editor Version 5.00\r\n" + kNt +
                       "\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01\\4&1&0&10\xE5\x8A\x9F]\r\n"
                       "\"DeviceDesc\"=\"RAID \xE6\x8E\xA7\xE5\x88\xB6\xE5\x99\xA8\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned code = c;
        if (c >= 0xE0) {
            code = ((c & 0x0Fu) << 12) | ((text[i + 1] & 0x3Fu) << 6) | (text[i + 2] & 0x3Fu);
            i += 3;
        } else {
            i += 1;
        }
        utf16 += static_cast<char>(code & 0xFF);
        utf16 += static_cast<char>(code >> 8);
    }
    MachineSource machine;
    std::string error;
    ASSERT_TRUE(ReadMachine(utf16, "m.reg", 950, {}, machine, error)) << error;
    const std::vector<PciBranch> branches = FindPciDevices(machine, 950);
    ASSERT_EQ(branches.size(), 1u);
    ASSERT_EQ(branches[0].devices.size(), 1u);
    ASSERT_EQ(branches[0].devices[0].instances.size(), 1u);
    const DeviceInstance& instance = branches[0].devices[0].instances[0];
    EXPECT_EQ(instance.name, "4&1&0&10\xA5\x5C");
    EXPECT_EQ(instance.description, "RAID \xB1\xB1\xA8\xEE\xBE\xB9");
}
}  // namespace
