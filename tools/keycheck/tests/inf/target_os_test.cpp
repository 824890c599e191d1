// TargetOSVersion decorations: each documented form, and whether Windows XP (x86, 5.1,
// workstation, Professional's suite, build 2600) reads a section so decorated.
#include "tools/keycheck/inf/target_os.h"

#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct DecorationCase {
    const char* name;
    const char* decoration;
    bool valid;
    bool xpReads;  // picked by XP when it is the only decoration
};
void PrintTo(const DecorationCase& row, std::ostream* out) {
    *out << row.decoration;
}

class DecorationTest : public ::testing::TestWithParam<DecorationCase> {};

TEST_P(DecorationTest, IsReadAsDocumented) {
    const DecorationCase& c = GetParam();
    EXPECT_EQ(IsTargetOsDecoration(c.decoration), c.valid);
    EXPECT_EQ(DecorationXpPicks({c.decoration}), c.xpReads ? 0 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DecorationTest,
    ::testing::Values(DecorationCase{"NtAlone", "NT", true, true},
                      DecorationCase{"Architecture", "NTx86", true, true},
                      DecorationCase{"AnotherArchitecture", "NTamd64", true, false},
                      DecorationCase{"ArchitectureInAnyCase", "ntX86", true, true},
                      DecorationCase{"Major", "NTx86.5", true, true},
                      DecorationCase{"MajorAndMinor", "NT.5.1", true, true},
                      DecorationCase{"LaterMinor", "NTx86.5.2", true, false},
                      DecorationCase{"ProductTypeWorkstation", "NTx86.5.1.1", true, true},
                      DecorationCase{"ProductTypeServer", "NTx86.5.1.3", true, false},
                      DecorationCase{"SuiteMaskOfXpPro", "NTx86.5.1.1.0x100", true, true},
                      DecorationCase{"SuiteMaskXpLacks", "NT.5.1.1.0x0002", true, false},
                      DecorationCase{"EmptyFields", "NT.5.1..", true, true},
                      // The six-field form of Windows 10 1607, as an amd64 in-box INF writes it.
                      DecorationCase{"BuildNumberOfWindows10", "NTamd64.10.0...14310", true, false},
                      DecorationCase{"BuildNumberXpHas", "NTx86.5.1...2600", true, true},
                      DecorationCase{"BuildNumberAfterXp", "NTx86.5.1...2601", true, false},
                      DecorationCase{"SevenFields", "NT.5.1.1.0.2600.1", false, false},
                      DecorationCase{"UnknownArchitecture", "NTx68", false, false},
                      DecorationCase{"NoNumber", "NT.five", false, false},
                      DecorationCase{"NotNt", "Win98", false, false}),
    NamedRow());

TEST(DecorationTest, XpTakesTheClosestMatchNotNewerThanItself) {
    EXPECT_EQ(DecorationXpPicks({"NT", "NTx86.5.1", "NT.5.2", "NTamd64.5.1"}), 1);
    EXPECT_EQ(DecorationXpPicks({"NTx86.5.0", "NT.5.1"}), 1);  // the later version first
    EXPECT_EQ(DecorationXpPicks({"NT.5.1...2600", "NT.5.1"}), 0);
    EXPECT_EQ(DecorationXpPicks({"NTamd64.10.0...14310", "NT.6.0"}), -1);
}
}  // namespace
