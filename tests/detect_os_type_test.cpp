// Classification of the Windows version record into OsType, and its two failure messages.
#include "app/driver_setup_app.h"
#include "sim/fake_os.h"
#include "tests/expected_outcomes.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <set>

namespace {
struct VersionCase {
    const char* name;
    std::uint32_t platform, major, minor, build;
    int expected;  // the code as a number: the values are fixed, and keycheck prints them
};
void PrintTo(const VersionCase& row, std::ostream* out) {
    *out << row.name;
}

class ClassificationTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ClassificationTest, GivesTheCodeForTheRecord) {
    const VersionCase& c = GetParam();
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetVersion(c.platform, c.major, c.minor, c.build);
    CDriverSetupApp app;
    OsType code = 0xEE;
    EXPECT_TRUE(app.DetectOsType(code));
    EXPECT_EQ(static_cast<int>(code), c.expected);
    EXPECT_TRUE(os.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ClassificationTest,
    ::testing::Values(VersionCase{"Win32s", 0, 3, 10, 0, 9},          // OS_WIN32S
                      VersionCase{"Win95", 1, 4, 0, 0x040003B6, 10},  // OS_WIN95
                      // 4.0 is not above 4.0, whatever the build says.
                      VersionCase{"Win95WithSeBuild", 1, 4, 0, 0x040008AE, 10},    // OS_WIN95
                      VersionCase{"Win98FirstEdition", 1, 4, 10, 0x040A07CE, 11},  // OS_WIN98
                      VersionCase{"Win98Se", 1, 4, 10, 0x040A08AE, 12},            // OS_WIN98SE
                      VersionCase{"Win98SeBuildWordOnly", 1, 4, 10, 2222, 12},     // OS_WIN98SE
                      VersionCase{"WinMe", 1, 4, 90, 0x045A0BB8, 15},              // OS_WINME
                      VersionCase{"WinMeJustAboveThreshold", 1, 4, 90, 0x045A08AF, 15},  // OS_WINME
                      // Only the low word counts: 0x08AE with 0xFFFF above it is still 2222.
                      VersionCase{"HighWordIgnored", 1, 4, 10, 0xFFFF08AE, 12},  // OS_WIN98SE
                      VersionCase{"Platform1Major5", 1, 5, 0, 0x050008AD, 11},   // OS_WIN98
                      VersionCase{"Nt351", 2, 3, 51, 1057, 13},                  // OS_WINNT4
                      VersionCase{"Nt4", 2, 4, 0, 1381, 13},                     // OS_WINNT4
                      VersionCase{"Win2000", 2, 5, 0, 2195, 14},                 // OS_WIN2000
                      VersionCase{"Nt5AtThreshold", 2, 5, 0, 2222, 14},          // OS_WIN2000
                      VersionCase{"Nt5AboveThreshold", 2, 5, 1, 2223, 16},       // OS_WINXP
                      VersionCase{"WinXp", 2, 5, 1, 2600, 16},                   // OS_WINXP
                      VersionCase{"Win2003", 2, 5, 2, 3790, 16},                 // OS_WINXP
                      // The whole 32-bit field counts on NT.
                      VersionCase{"Nt5HighBuildBits", 2, 5, 0, 0x00010001, 16},  // OS_WINXP
                      VersionCase{"Vista", 2, 6, 0, 6002, 0},                    // OS_NONE
                      VersionCase{"Win10", 2, 10, 0, 19045, 0}),                 // OS_NONE
    [](const auto& param) { return std::string(param.param.name); });

TEST(DetectOsTypeTest, AsksForTheExtendedRecordThenTheBasicOne) {
    // NT 4.0 fills only the basic record; 2000 and later take the extended one at once.
    const struct {
        std::set<std::uint32_t> accepted;
        std::uint32_t major, minor, build;
        OsType code;
        const char* log;
    } cases[] = {
        {{148}, 4, 0, 1381, OS_WINNT4, "SetMultibyteCodePage GetVersionExA GetVersionExA"},
        {{156}, 5, 1, 2600, OS_WINXP, "SetMultibyteCodePage GetVersionExA"},
    };
    for (const auto& c : cases) {
        CFakeOs os;
        const FakeOsInstalled installed(os);
        os.SetVersion(2, c.major, c.minor, c.build);
        os.acceptedVersionSizes = c.accepted;
        CDriverSetupApp app;
        OsType code = 0;
        EXPECT_TRUE(app.DetectOsType(code)) << c.log;
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(os.CallLog(), c.log);
    }
}

TEST(DetectOsTypeTest, UnreadableVersionShowsItsMessageAndLeavesTheCode) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.acceptedVersionSizes = {};
    CDriverSetupApp app;
    OsType code = 0xEE;
    EXPECT_FALSE(app.DetectOsType(code));
    EXPECT_EQ(code, 0xEE);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("version_query_failed"));
}

TEST(DetectOsTypeTest, UnknownPlatformShowsItsMessageAndGivesNone) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetVersion(3, 5, 1, 2600);
    CDriverSetupApp app;
    OsType code = 0xEE;
    EXPECT_FALSE(app.DetectOsType(code));
    EXPECT_EQ(code, OS_NONE);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("unknown_platform"));
}
}  // namespace
