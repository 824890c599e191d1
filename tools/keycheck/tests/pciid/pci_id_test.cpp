// PCI IDs taken apart, and which key.ini entries reach the devices that have them.
#include "tools/keycheck/pciid/pci_id.h"

#include <gtest/gtest.h>

namespace {
PciIdParts Parts(const std::string& id) {
    PciIdParts parts;
    EXPECT_TRUE(ParsePciId(id, parts)) << id;
    return parts;
}

TEST(PciIdFormTest, WhatIsAPciId) {
    for (const char* id :
         {"PCI\\VEN_1A2B&DEV_5820", "pci\\ven_1a2b&dev_5820&subsys_00011a2b&rev_01",
          "PCI\\VEN_1A2B&DEV_5820&CC_010400", "PCI\\VEN_1A2B&CC_0104", "PCI\\VEN_1A2B",
          "PCI\\CC_0104"})
        Parts(id);
    PciIdParts parts;
    for (const char* id : {"PCI\\VEN_1A2B&DEV_582", "PCI\\DEV_5820", "PCI\\VEN_1A2B&&DEV_5820",
                           "PCI\\VEN_1A2B&DEV_5820&SUBSYS_1A2B", "PCI\\VEN_1A2B&VEN_1A2B",
                           "USB\\VID_1A2B&PID_5820", "PCI\\VEN_1A2B&DEV_5820&REV_01&CC_0104"})
        EXPECT_FALSE(ParsePciId(id, parts)) << id;

    EXPECT_TRUE(IsWholeDeviceEntry("VEN_1A2B&DEV_5820"));
    EXPECT_TRUE(IsWholeDeviceEntry("VEN_1A2B&DEV_5820&SUBSYS_00011A2B&REV_01"));
    for (const char* entry :
         {"VEN_1A2B", "DEV_5820", "VEN_1a2b&DEV_5820", "VEN_1A2B&DEV_5820&REV_01",
          "VEN_1A2B&DEV_5820 ", "VEN_1A2B&DEV_5820&CC_0104"})
        EXPECT_FALSE(IsWholeDeviceEntry(entry)) << entry;
}

TEST(PciIdFormTest, EntriesReachDevicesByTheLaunchersSubstringTest) {
    const PciIdParts device = Parts("PCI\\VEN_1A2B&DEV_5820");
    const PciIdParts board = Parts("PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B");
    const PciIdParts vendor = Parts("PCI\\VEN_1A2B");
    const PciIdParts storage = Parts("PCI\\CC_0104");
    const struct {
        const char* entry;
        bool device, board, vendor, storage;
    } cases[] = {
        {"VEN_1A2B&DEV_5820", true, true, true, true},
        {"VEN_1A2B&DEV_5820&SUBSYS_00011A2B", true, true, true, true},
        {"VEN_1A2B&DEV_5820&SUBSYS_00021A2B", true, false, true, true},
        {"DEV_5820", true, true, true, true},                // any maker's device 5820
        {"&SUBSYS_00011A2B&REV_0", true, true, true, true},  // any device of that board
        {"VEN_1A2B&DEV_5821", false, false, true, true},
        {"ven_1a2b&dev_5820", false, false, false, false},         // the test is case-sensitive
        {"VEN_1A2B&DEV_5820&REV_01", false, false, false, false},  // never in a key name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EntryReaches(c.entry, device), c.device) << c.entry;
        EXPECT_EQ(EntryReaches(c.entry, board), c.board) << c.entry;
        EXPECT_EQ(EntryReaches(c.entry, vendor), c.vendor) << c.entry;
        EXPECT_EQ(EntryReaches(c.entry, storage), c.storage) << c.entry;
    }
    EXPECT_TRUE(EntryFullyCovered("VEN_1A2B&DEV_5820", device));
    EXPECT_FALSE(EntryFullyCovered("VEN_1A2B&DEV_5820", board));
    EXPECT_TRUE(EntryFullyCovered("VEN_1A2B&DEV_5820&SUBSYS_00011A2B", board));
    EXPECT_FALSE(EntryFullyCovered("VEN_1A2B&DEV_5820", storage));
    EXPECT_EQ(PciIdLimits(Parts("PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B&REV_01")),
              "SUBSYS_00011A2B&REV_01");
}

TEST(PciIdFormTest, WhichListHoldsAnIdOfEachForm) {
    const struct {
        const char* id;
        DeviceIdKind nt, nine;
    } cases[] = {
        {"PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B&REV_01", DeviceIdKind::HardwareId,
         DeviceIdKind::HardwareId},
        {"PCI\\VEN_1A2B&DEV_5820&SUBSYS_00011A2B", DeviceIdKind::HardwareId,
         DeviceIdKind::HardwareId},
        {"PCI\\VEN_1A2B&DEV_5820&REV_01", DeviceIdKind::CompatibleId, DeviceIdKind::HardwareId},
        {"PCI\\VEN_1A2B&DEV_5820", DeviceIdKind::CompatibleId, DeviceIdKind::HardwareId},
        {"PCI\\VEN_1A2B&DEV_5820&CC_0104", DeviceIdKind::HardwareId, DeviceIdKind::CompatibleId},
        {"PCI\\CC_0104", DeviceIdKind::CompatibleId, DeviceIdKind::CompatibleId},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PciIdKind(Parts(c.id), OS_WINXP), c.nt) << c.id;
        EXPECT_EQ(PciIdKind(Parts(c.id), OS_WIN2000), c.nt) << c.id;
        EXPECT_EQ(PciIdKind(Parts(c.id), OS_WIN98SE), c.nine) << c.id;
        EXPECT_EQ(PciIdKind(Parts(c.id), OS_WINME), c.nine) << c.id;
    }
}
}  // namespace
