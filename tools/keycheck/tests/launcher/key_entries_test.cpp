// The key-file entries keycheck lists: the launcher's own entries, with their places.
#include "tools/keycheck/launcher/key_entries.h"

#include "device/device_id_table.h"
#include "sim/fake_os.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The values the launcher's table holds for text, and those of FindKeyEntries cut the way
// the table cuts them: the first 40, each over 39 bytes stored empty.
void ExpectSameAsLauncher(const std::string& text) {
    DeviceIdTable table{};
    ParseKeyText(text.c_str(), table);
    std::vector<std::string> launcher(table.ids, table.ids + table.count);

    std::vector<std::string> found;
    for (const KeyEntry& entry : FindKeyEntries(text.c_str())) {
        if (found.size() < static_cast<std::size_t>(kMaxDeviceIds))
            found.push_back(entry.value.size() < kDeviceIdSize ? entry.value : "");
    }
    EXPECT_EQ(found, launcher) << text;
}

TEST(KeyEntriesTest, FindsWhatTheLauncherFinds) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(1252);
    std::string many;
    for (int i = 0; i < 45; ++i)
        many += "ID" + std::to_string(i) + "=VEN_" + std::to_string(i) + "\r\n";
    for (const std::string& text :
         {std::string("[PCI]\r\nA=x1\r\nB=x2\r\n"), std::string("a=b=c\r\n"),
          std::string("A=\r\nB=y"), std::string("A = x \t\r\n"), std::string("=lead\r\nA="),
          std::string("A=x\nB=y\n"), std::string("A=x\r\n\nB=y\r\n"),
          std::string("A=" + std::string(39, 'I') + "\r\nB=" + std::string(40, 'J') + "\r\n"),
          std::string("; c=1\r\n[PCI]\r\nA=x\rB=y\r"), many})
        ExpectSameAsLauncher(text);

    // In Shift-JIS a lead byte takes the byte after it along, an "=" too.
    os.SetCodePage(932);
    ExpectSameAsLauncher("\x81=x\r\nB=y\r\n");
    EXPECT_EQ(FindKeyEntries("\x81=x\r\nB=y\r\n").size(), 1u);
    ExpectSameAsLauncher("A=\x82\xA0=\r\nB=\x81=y\r\n");
}

TEST(KeyEntriesTest, EntriesCarryTheirNameOffsetAndLine) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(1252);
    const std::string text = "[PCI]\r\n; list\r\nHX5820=VEN_1\r\n\n  B = DEV_2\nC=\r\n";
    const std::vector<KeyEntry> entries = FindKeyEntries(text.c_str());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "HX5820");
    EXPECT_EQ(entries[0].nameOffset, 15);
    EXPECT_EQ(entries[0].valueOffset, 22);
    EXPECT_EQ(entries[0].line, 3);
    EXPECT_EQ(entries[0].value, "VEN_1");
    // The second value runs over the bare line feed and takes the next line in.
    EXPECT_EQ(entries[1].name, "  B ");
    EXPECT_EQ(entries[1].valueOffset, 35);
    EXPECT_EQ(entries[1].line, 5);
    EXPECT_EQ(entries[1].value, " DEV_2\nC=");
}

TEST(KeyEntriesTest, TextEndsAtItsFirstNul) {
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(1252);
    const std::string text("A=x\r\n\0B=y\r\n", 11);
    const std::vector<KeyEntry> entries = FindKeyEntries(text.c_str());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].value, "x");
}
}  // namespace
