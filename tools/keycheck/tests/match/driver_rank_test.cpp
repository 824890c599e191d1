// How Setup ranks drivers and chooses among them, one row per rule, each with the page it
// comes from.
#include "tools/keycheck/match/driver_rank.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The device and the models line of the 2000/XP "Driver Rank Example" page: hardware IDs
// HwID_1, HwID_2; compatible IDs CID_1, CID_2; the line "InstallSection1, INF_HWID_1,
// INF_CID_1, INF_CID_2". Each row names which device ID the line's ID is.
const DeviceIds kDevice{{"HW1", "HW2"}, {"CID1", "CID2"}};

LibraryDriver Line(const std::string& hardware, const std::vector<std::string>& compatible,
                   OsType version = OS_WINXP, bool trusted = true, bool ntInstall = true,
                   const std::string& driverVer = "") {
    LibraryDriver driver;
    driver.version = version;
    driver.line.hardwareId = hardware;
    driver.line.compatibleIds = compatible;
    driver.trusted = trusted;
    driver.ntInstall = ntInstall;
    driver.driverVer = driverVer;
    return driver;
}

struct RankRow {
    const char* rule;
    LibraryDriver driver;
    bool matched;
    unsigned rank;
};

TEST(DriverRankTest, EachRuleGivesItsRank) {
    const RankRow rows[] = {
        // "Driver Rank Example (Windows Server 2003, Windows XP, and Windows 2000)", a signed INF.
        {"HwID_1 = INF_HwID_1", Line("HW1", {"X1", "X2"}), true, 0x0000},
        {"HwID_2 = INF_HwID_1", Line("HW2", {"X1", "X2"}), true, 0x0001},
        {"HwID_1 = INF_CID_1", Line("X", {"HW1", "X2"}), true, 0x1000},
        {"HwID_1 = INF_CID_2", Line("X", {"X1", "HW1"}), true, 0x1000},
        {"HwID_2 = INF_CID_2", Line("X", {"X1", "HW2"}), true, 0x1001},
        {"CID_1 = INF_HwID_1", Line("CID1", {"X1", "X2"}), true, 0x2000},
        {"CID_2 = INF_HwID_1", Line("CID2", {"X1", "X2"}), true, 0x2001},
        {"CID_1 = INF_CID_1", Line("X", {"CID1", "X2"}), true, 0x3000},
        {"CID_1 = INF_CID_2", Line("X", {"X1", "CID1"}), true, 0x3100},
        {"CID_2 = INF_CID_2", Line("X", {"X1", "CID2"}), true, 0x3101},
        // The best pair of several that match.
        {"best pair", Line("CID1", {"HW2"}), true, 0x1001},
        {"IDs compare without regard to case", Line("hw1", {}), true, 0x0000},
        {"no ID in common", Line("X", {"Y"}), false, 0},
        // "System-Defined Driver Rank Constants (Windows Server 2003, Windows XP, and Windows
        // 2000)": DRIVER_UNTRUSTED_RANK, DRIVER_W9X_SUSPECT_RANK, on XP.
        {"XP, unsigned, .NT install section", Line("HW1", {}, OS_WINXP, false, true), true, 0x8000},
        {"XP, unsigned, undecorated install section", Line("CID2", {}, OS_WINXP, false, false),
         true, 0xE001},
        {"XP, signed, undecorated install section", Line("HW1", {}, OS_WINXP, true, false), true,
         0x0000},
        // 2000 adds no signature score ("For Windows XP and later, ... trusted ... untrusted").
        {"2000, unsigned", Line("HW2", {}, OS_WIN2000, false, true), true, 0x0001},
        // 98 SE and Me check no signatures: keycheck's choice, the identifier score alone.
        {"98 SE, unsigned", Line("CID1", {}, OS_WIN98SE, false, false), true, 0x2000},
        {"Me, unsigned", Line("X", {"CID2"}, OS_WINME, false, false), true, 0x3001},
    };
    for (const RankRow& row : rows) {
        const DriverRank rank = RankDriver(kDevice, row.driver);
        EXPECT_EQ(rank.matched, row.matched) << row.rule;
        if (row.matched) {
            EXPECT_EQ(rank.value, row.rank) << row.rule << ": 0x" << std::hex << rank.value;
        }
    }
}

TEST(DriverRankTest, TheMatchSaysWhichIdsMet) {
    const DriverRank rank = RankDriver(kDevice, Line("X", {"Y", "CID2"}));
    EXPECT_EQ(rank.deviceId, "CID2");
    EXPECT_FALSE(rank.deviceHardware);
    EXPECT_EQ(rank.devicePlace, 1);
    EXPECT_EQ(rank.lineId, "CID2");
    EXPECT_FALSE(rank.lineHardware);
    EXPECT_EQ(rank.linePlace, 2);
}

struct ChoiceRow {
    const char* rule;
    LibraryDriver a, b;
    bool aChosen;
};

// "How Windows Selects Drivers": the lowest rank, then the newest date, then the highest
// version; "INF DriverVer Directive": 2000 dates an unsigned driver 00/00/0000.
TEST(DriverRankTest, SetupChoosesByRankThenDateThenVersion) {
    const ChoiceRow rows[] = {
        {"the lower rank, whatever the dates", Line("HW1", {}, OS_WINXP, true, true, "01/01/2000"),
         Line("HW2", {}, OS_WINXP, true, true, "01/01/2005"), true},
        {"equal ranks: the newer date", Line("HW1", {}, OS_WINXP, true, true, "02/01/2003,1.0"),
         Line("HW1", {}, OS_WINXP, true, true, "01/31/2003,9.0"), true},
        {"dates written with hyphens", Line("HW1", {}, OS_WINXP, true, true, "12-31-2003"),
         Line("HW1", {}, OS_WINXP, true, true, "01/01/2003"), true},
        {"equal dates: the higher version",
         Line("HW1", {}, OS_WINXP, true, true, "06/12/2003,2.1.0.10"),
         Line("HW1", {}, OS_WINXP, true, true, "06/12/2003,2.1.0.7"), true},
        {"no DriverVer counts as 00/00/0000", Line("HW1", {}, OS_WINXP, true, true, ""),
         Line("HW1", {}, OS_WINXP, true, true, "01/01/1998"), false},
        {"2000: an unsigned driver's date is 00/00/0000",
         Line("HW1", {}, OS_WIN2000, false, true, "01/01/2006"),
         Line("HW1", {}, OS_WIN2000, true, true, "01/01/2001"), false},
        {"98 SE: the newer DriverVer of two equal ranks",
         Line("HW1", {}, OS_WIN98SE, false, false, "05/05/2002"),
         Line("HW1", {}, OS_WIN98SE, false, false, "05/05/2001"), true},
    };
    for (const ChoiceRow& row : rows) {
        const DriverRank a = RankDriver(kDevice, row.a), b = RankDriver(kDevice, row.b);
        EXPECT_EQ(ChosenOver(a, row.a, b, row.b), row.aChosen) << row.rule;
        EXPECT_EQ(ChosenOver(b, row.b, a, row.a), !row.aChosen) << row.rule;
    }
}

TEST(DriverRankTest, DriverVerIsTakenApart) {
    const DriverVersion parsed = ParseDriverVer("07/01/2003,5.1.2600.0");
    EXPECT_EQ(parsed.year, 2003);
    EXPECT_EQ(parsed.month, 7);
    EXPECT_EQ(parsed.day, 1);
    EXPECT_EQ(parsed.version, (std::array<long, 4>{5, 1, 2600, 0}));
    EXPECT_EQ(ParseDriverVer("13/01/2003").year, 0);
    EXPECT_EQ(ParseDriverVer("07/01-2003").year, 0);
}
}  // namespace
