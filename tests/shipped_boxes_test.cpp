// Every message box the launcher shows, on the path that shows it, against the tests' golden
// table tests/expected_boxes.txt: caption, text and type byte for byte.
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
struct BoxCase {
    const char* name;
    const char* version;
    bool keyFile;
    void (*arrange)(CFakeOs&);
    std::vector<const char*> boxes;  // the names in expected_boxes.txt, in the order shown
};
void PrintTo(const BoxCase& row, std::ostream* out) {
    *out << row.name;
}

void Nothing(CFakeOs&) {}

const BoxCase kBoxCases[] = {
    {"UnsupportedVersion", "vista", true, Nothing, {"unsupported"}},
    {"NoListedDeviceOnXp", "winxp", true, Nothing, {"no_device_nt"}},
    {"NoListedDeviceOn98Se", "win98", true, Nothing, {"no_device_9x"}},
    {"NoKeyFile", "winxp", false, Nothing, {"no_key_file"}},
    {"VersionCannotBeRead",
     "winxp",
     true,
     [](CFakeOs& os) { os.acceptedVersionSizes = {}; },
     {"version_query_failed", "unsupported"}},
    {"UnknownPlatform",
     "winxp",
     true,
     [](CFakeOs& os) { os.SetVersion(3, 5, 1, 2600); },
     {"unknown_platform", "unsupported"}},
};

class ShippedBoxesTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ShippedBoxesTest, ShowsTheGoldenBoxesAndEndsWithStatusZero) {
    const BoxCase& c = GetParam();
    CFakeOs os;
    SetWindowsVersion(os, c.version);
    AddPackage(os, "C:\\Disk\\", "[PCI]\r\nICH4=DEV_24C2\r\n");
    if (!c.keyFile)
        os.FailAlways(FakeOp::FileOpen);
    os.AddKey(std::string(kNtPciBranch) + "\\VEN_1002&DEV_4C59\\0");
    os.AddKey(std::string(k9xPciBranch) + "\\VEN_1002&DEV_4C59\\0");
    c.arrange(os);

    const LauncherRun run = RunLauncher(os);

    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(os.boxes.size(), c.boxes.size());
    for (std::size_t i = 0; i < c.boxes.size(); ++i)
        EXPECT_EQ(Shown(os.boxes[i]), ExpectedBoxNamed(c.boxes[i])) << "box " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Paths, ShippedBoxesTest, ::testing::ValuesIn(kBoxCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Each box of the golden table is shown on some path above, so a change to any one of them,
// in the table or in the launcher, fails a case.
TEST(ShippedBoxesTableTest, EveryGoldenBoxHasItsPath) {
    std::set<std::string> shown;
    for (const BoxCase& c : kBoxCases)
        shown.insert(c.boxes.begin(), c.boxes.end());
    const std::vector<std::string> names = ExpectedBoxNames();
    EXPECT_EQ(shown, std::set<std::string>(names.begin(), names.end()));
    EXPECT_EQ(names.size(), 6u);
}
}  // namespace
