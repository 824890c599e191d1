// Reading key.ini into the device-ID table: the format's rules, the table's limits, refusals.
#include "app/driver_setup_app.h"
#include "device/device_id_table.h"
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"
#include "tests/table_rows.h"

#include <gtest/gtest.h>

#include <tuple>

#include <functional>
#include <string>
#include <vector>

namespace {
using Ids = std::vector<std::string>;

// Loads text as C:\Disk\key.ini and returns the table's entries.
Ids Load(const std::string& text) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.AddFile("C:\\Disk\\key.ini", text);
    CDriverSetupApp app;
    app.m_strAppDir = "C:\\Disk\\";
    g_deviceIdTable.count = -1;
    app.LoadKeyFile();
    EXPECT_EQ(os.OpenFileCount(), 0);
    Ids ids;
    for (int i = 0; i < g_deviceIdTable.count; ++i)
        ids.push_back(g_deviceIdTable.ids[i]);
    return ids;
}

TEST(KeyFileTest, EachEqualsSignStartsAnEntryThatRunsToCarriageReturn) {
    EXPECT_EQ(Load("[PCI]\r\nA=x1\r\nB=x2\r\n"), (Ids{"x1", "x2"}));
    EXPECT_EQ(Load("a=b=c\r\n"), (Ids{"b=c"}));
    EXPECT_EQ(Load("A=\r\nB=y\r\n"), (Ids{"", "y"}));
    EXPECT_EQ(Load("A = x \t\r\n"), (Ids{" x \t"}));
    EXPECT_EQ(Load("A=x\r\nB=y"), (Ids{"x", "y"}));
    EXPECT_EQ(Load("=lead\r\nA="), (Ids{"lead", ""}));
    EXPECT_EQ(Load("[PCI] x=1\r\n"), (Ids{"1"}));
}

TEST(KeyFileTest, FilesWithoutEntriesGiveAnEmptyTable) {
    EXPECT_EQ(Load(""), Ids{});
    EXPECT_EQ(Load("[PCI]\r\nno entries here\r\n"), Ids{});
    // UTF-16 text ends at the high byte of its first character.
    EXPECT_EQ(Load(std::string("\xFF\xFE"
                               "A\0=\0x\0\r\0\n\0",
                               12)),
              Ids{});
}

TEST(KeyFileTest, LineFeedsAreOrdinaryBytes) {
    EXPECT_EQ(Load("A=x\nB=y\n"), (Ids{"x\nB=y\n"}));
    // With CRLF the line feed starts the next key name, which is ignored.
    EXPECT_EQ(Load("A=x\r\n\nB=y\r\n"), (Ids{"x", "y"}));
}

TEST(KeyFileTest, TextEndsAtItsFirstNul) {
    EXPECT_EQ(Load(std::string("A=x\r\n\0B=y\r\n", 11)), (Ids{"x"}));
    EXPECT_EQ(Load(std::string("A=x\0y\r\n", 7)), (Ids{"x"}));
}

TEST(KeyFileTest, OverLongValuesAreKeptInPlaceButEmpty) {
    const std::string id39(39, 'I');
    const std::string id40(40, 'J');
    EXPECT_EQ(Load("A=" + id39 + "\r\nB=" + id40 + "\r\nC=z\r\n"), (Ids{id39, "", "z"}));
    // A value far longer than a slot never writes past it (the sanitizers would tell).
    EXPECT_EQ(Load("A=" + std::string(5000, 'K')), Ids{""});
}

TEST(KeyFileTest, EntriesAfterTheFortiethAreIgnored) {
    std::string text;
    Ids expected;
    for (int i = 0; i < 45; ++i) {
        text += "ID" + std::to_string(i) + "=VEN_" + std::to_string(i) + "\r\n";
        if (i < kMaxDeviceIds)
            expected.push_back("VEN_" + std::to_string(i));
    }
    ASSERT_EQ(expected.size(), 40u);
    EXPECT_EQ(Load(text), expected);
}

TEST(KeyFileTest, BareLineFeedFileMeetsTheSlotLimitAsOneEntry) {
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "ID" + std::to_string(i) + "=VEN_8086\n";
    EXPECT_EQ(Load(text), Ids{""});
}

// The block is not zeroed and a failed read scribbles it, so only the terminator written where
// the bytes read end keeps the parse inside it (the sanitizers see a read past it).
TEST(KeyFileTest, TextEndsWhereTheBytesReadEnd) {
    struct ShortRead {
        bool readFails;
        std::int64_t reportedLength;
        Ids expected;
    };
    // A failed read; a file that shrank after its length was taken; one that grew (the read
    // fills the whole block and the last byte gives way to the terminator), also from empty,
    // when the one-byte block holds nothing but the terminator.
    for (const ShortRead& c : {ShortRead{true, -1, {}}, ShortRead{false, 40, {"VEN_1", "x"}},
                               ShortRead{false, 5, {"VEN"}}, ShortRead{false, 0, {}}}) {
        CFakeOs os;
        const FakeOsInstalled installed(os);
        os.AddFile("C:\\Disk\\key.ini", "A=VEN_1\r\nB=x");
        if (c.readFails)
            os.FailCall(FakeOp::FileRead);         // reads nothing
        os.reportedFileLength = c.reportedLength;  // the file was shorter when read
        CDriverSetupApp app;
        app.m_strAppDir = "C:\\Disk\\";
        app.LoadKeyFile();
        EXPECT_EQ(Ids(g_deviceIdTable.ids, g_deviceIdTable.ids + g_deviceIdTable.count),
                  c.expected);
        EXPECT_EQ(os.OpenFileCount(), 0);
    }
}

TEST(KeyFileTest, SizeIsTheLengthPlusOneWithThePositionRestored) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.AddFile("C:\\k", "12345");
    CDriverSetupApp app;
    OsFile file = os.FileOpen("C:\\k", "rb");
    os.FileSeek(file, 2, SEEK_SET);
    EXPECT_EQ(app.GetFileSizePlusOne(file), 6);
    EXPECT_EQ(os.FileTell(file), 2);
    os.reportedFileLength = 0x7FFFFFFE;
    EXPECT_EQ(app.GetFileSizePlusOne(file), 0x7FFFFFFF);
    os.reportedFileLength = 0x7FFFFFFF;  // its NUL would not fit
    EXPECT_EQ(app.GetFileSizePlusOne(file), -1);
    os.FileClose(file);
}

struct RefusalCase {
    const char* name;
    std::function<void(CFakeOs&)> arrange;
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.name;
}

class KeyFileRefusalTest : public ::testing::TestWithParam<std::tuple<RefusalCase, const char*>> {};

TEST_P(KeyFileRefusalTest, ShowsTheMissingKeyFileMessageAndExitsWithZero) {
    CFakeOs os;
    SetWindowsVersion(os, std::get<1>(GetParam()));
    AddPackage(os, "C:\\Disk\\", "ID=VEN_8086\r\n");
    os.AddKey(std::string(kNtPciBranch) + "\\VEN_8086&DEV_1");
    os.AddKey(std::string(k9xPciBranch) + "\\VEN_8086&DEV_1");
    std::get<0>(GetParam()).arrange(os);

    const LauncherRun run = RunLauncher(os);

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.endedByExitCall);
    ASSERT_EQ(os.boxes.size(), 1u);
    EXPECT_EQ(Shown(os.boxes[0]), ExpectedBoxNamed("no_key_file"));
    EXPECT_EQ(os.OpenFileCount(), 0);
    EXPECT_EQ(os.CallLog().find("Reg"), std::string::npos);
    EXPECT_TRUE(os.commandLines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Causes, KeyFileRefusalTest,
    ::testing::Combine(
        ::testing::Values(
            RefusalCase{"Missing", [](CFakeOs& os) { os.FailAlways(FakeOp::FileOpen); }},
            RefusalCase{"NoMemory", [](CFakeOs& os) { os.FailAlways(FakeOp::MemAlloc); }},
            RefusalCase{"SizeUnknown", [](CFakeOs& os) { os.FailAlways(FakeOp::FileTell); }},
            RefusalCase{"SeekFails", [](CFakeOs& os) { os.FailAlways(FakeOp::FileSeek); }},
            RefusalCase{"TooLarge", [](CFakeOs& os) { os.reportedFileLength = 0x80000000LL; }}),
        ::testing::Values("winxp", "win98")),
    [](const auto& row) {
        return std::string(std::get<0>(row.param).name) + "On" + std::get<1>(row.param);
    });
}  // namespace
