// Which models lines install a device, and by which of its IDs, in Windows' order of preference.
#include "tools/keycheck/inf/model_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
ModelLine Line(int number, const std::string& hardwareId,
               const std::vector<std::string>& compatibleIds = {}) {
    return ModelLine{"x.inf", "M", number, "D", "Inst", hardwareId, compatibleIds};
}

const std::vector<std::string> kHardware = {
    "PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01", "PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000",
    "PCI\\VEN_1A2B&DEV_5820&CC_010400", "PCI\\VEN_1A2B&DEV_5820&CC_0104"};
const std::vector<std::string> kCompatible = {"PCI\\VEN_1A2B&DEV_5820&REV_01",
                                              "PCI\\VEN_1A2B&DEV_5820",
                                              "PCI\\VEN_1A2B&CC_010400",
                                              "PCI\\VEN_1A2B&CC_0104",
                                              "PCI\\VEN_1A2B",
                                              "PCI\\CC_010400",
                                              "PCI\\CC_0104"};

struct Expected {
    int line;
    DeviceIdKind kind;
    bool lineCompatible;
};

TEST(LinesInstallingTest, BestMatchFirstWithItsKind) {
    const std::vector<ModelLine> models = {
        Line(1, "pci\\ven_1a2b&dev_5820"),  // compatible ID, any case
        Line(2, "PCI\\CC_0104"),            // the most general compatible ID
        Line(3, "PCI\\VEN_1A2B&DEV_5821"),  // another device
        Line(4, "PCI\\VEN_9999&DEV_0001", {"PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000"}),
        Line(5, "PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"),
        Line(6, "PCI\\VEN_1A2B&DEV_5820&CC_0104",
             {"PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"}),
    };
    const std::vector<Expected> expected = {{5, DeviceIdKind::HardwareId, false},
                                            {6, DeviceIdKind::HardwareId, false},
                                            {4, DeviceIdKind::HardwareId, true},
                                            {1, DeviceIdKind::CompatibleId, false},
                                            {2, DeviceIdKind::CompatibleId, false}};
    const std::vector<ModelMatch> matches = LinesInstalling(models, kHardware, kCompatible);
    ASSERT_EQ(matches.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(matches[i].line->line, expected[i].line) << i;
        EXPECT_EQ(matches[i].deviceKind, expected[i].kind) << i;
        EXPECT_EQ(matches[i].lineCompatibleId, expected[i].lineCompatible) << i;
    }
    // Line 6's hardware ID against the device's fourth hardware ID ranks above its compatible
    // ID against the device's first: the type of match counts before the position.
    EXPECT_EQ(matches[1].id, kHardware[3]);
    EXPECT_EQ(matches[1].rank, 3);
    EXPECT_EQ(matches[2].rank, 0x1001);
    EXPECT_TRUE(LinesInstalling(models, {}, {}).empty());
}
}  // namespace
