// Finding and removing the PCI device key that names a listed ID.
#include "app/driver_setup_app.h"
#include "device/device_id_table.h"
#include "device/listed_id_match.h"
#include "platform/mbcs_text.h"
#include "sim/app_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {
const std::string kNt = kNtPciBranch;
const std::string k9x = k9xPciBranch;

class DeviceKeySearchTest : public ::testing::Test {
protected:
    void Package(const std::string& keyIni) {
        os.AddFile("C:\\Disk\\key.ini", keyIni);
        app.m_strAppDir = "C:\\Disk\\";
    }
    void Keys(const std::string& branch, const std::vector<std::string>& names) {
        for (const std::string& name : names)
            os.AddKey(branch + "\\" + name);
    }

    CFakeOs os;
    FakeOsInstalled installed{os};
    CDriverSetupApp app;
};

TEST_F(DeviceKeySearchTest, FirstKeyInEnumerationOrderWinsWhicheverIdItContains) {
    Package("A=VEN_A\r\nB=DEV_B\r\n");
    Keys(kNt, {"VEN_X&DEV_C", "VEN_X&DEV_B", "VEN_A&DEV_C"});
    EXPECT_TRUE(app.FindDeviceKey());
    EXPECT_EQ(std::string(app.m_strDeviceId), "VEN_X&DEV_B\"");
    EXPECT_EQ(os.OpenKeyCount(), 0);

    SetWindowsVersion(os, "win98");  // deletes a key with the instance keys beneath it
    Keys(k9x, {"VEN_X&DEV_C", "VEN_X&DEV_B\\3&61AAA01&0&40", "VEN_A&DEV_C"});
    EXPECT_TRUE(app.RemoveDeviceKey());
    EXPECT_EQ(os.SubKeyNames(k9x), (std::vector<std::string>{"VEN_X&DEV_C", "VEN_A&DEV_C"}));
    EXPECT_EQ(os.OpenKeyCount(), 0);
}

TEST_F(DeviceKeySearchTest, MatchIsCaseSensitiveAndKeepsTheRegistrySpelling) {
    Package("A=ven_a\r\n");
    Keys(kNt, {"VEN_A&DEV_1"});
    EXPECT_FALSE(app.FindDeviceKey());
    EXPECT_EQ(std::string(app.m_strDeviceId), "");

    Keys(kNt, {"ven_a&dev_2"});
    EXPECT_TRUE(app.FindDeviceKey());
    EXPECT_EQ(std::string(app.m_strDeviceId), "ven_a&dev_2\"");
}

TEST_F(DeviceKeySearchTest, EmptyAndOverLongIdsMatchNothing) {
    // An empty ID would be found in every name, and deleting the first PCI key is no install.
    Package("A=\r\nB=" + std::string(40, 'V') + "\r\n");
    Keys(k9x, {"VEN_8086&DEV_1", std::string(39, 'V')});
    SetWindowsVersion(os, "win98");
    EXPECT_FALSE(app.RemoveDeviceKey());
    EXPECT_EQ(os.SubKeyNames(k9x).size(), 2u);
    EXPECT_TRUE(os.keysDeleted.empty());
}

TEST_F(DeviceKeySearchTest, TrailByteOfADoubleByteNameDoesNotMatch) {
    os.SetCodePage(950);
    Package("A=A&DEV\r\n");
    Keys(kNt, {"VEN_\xA5"
               "A&DEV_1"});
    EXPECT_FALSE(app.FindDeviceKey());
    Keys(kNt, {"VEN_\xA5"
               "AA&DEV_1"});
    EXPECT_TRUE(app.FindDeviceKey());
}

TEST_F(DeviceKeySearchTest, NoSubkeysOrNoMatchGivesFalse) {
    Package("A=VEN_8086\r\n");
    os.AddKey(kNt);
    EXPECT_FALSE(app.FindDeviceKey());
    EXPECT_EQ(std::count(os.calls.begin(), os.calls.end(), FakeOp::RegEnumKeyA), 0);
    Keys(kNt, {"VEN_1002&DEV_1", "VEN_10DE&DEV_2"});
    EXPECT_FALSE(app.FindDeviceKey());
    EXPECT_EQ(os.OpenKeyCount(), 0);
    // Each key is looked at once, and none past the count.
    EXPECT_EQ(std::count(os.calls.begin(), os.calls.end(), FakeOp::RegEnumKeyA), 2);
}

TEST_F(DeviceKeySearchTest, BranchThatCannotBeOpenedGivesFalse) {
    Package("A=VEN_8086\r\n");
    EXPECT_FALSE(app.FindDeviceKey());  // no such branch
    Keys(k9x, {"VEN_8086&DEV_1"});
    os.DenyWriteAccess(k9x);
    EXPECT_FALSE(app.RemoveDeviceKey());
    EXPECT_TRUE(os.KeyExists(k9x + "\\VEN_8086&DEV_1"));
    EXPECT_EQ(os.OpenKeyCount(), 0);
    EXPECT_EQ(os.CallLog().find("RegCloseKey"), std::string::npos);
}

TEST_F(DeviceKeySearchTest, FailedCountQueryClosesTheKey) {
    Package("A=VEN_8086\r\n");
    Keys(kNt, {"VEN_8086&DEV_1"});
    os.FailCall(FakeOp::RegQueryInfoKeyA);
    EXPECT_FALSE(app.FindDeviceKey());
    EXPECT_EQ(os.OpenKeyCount(), 0);
    EXPECT_NE(os.CallLog().find("RegCloseKey"), std::string::npos);
}

TEST_F(DeviceKeySearchTest, FailedEnumerationEndsTheWalkEvenBeforeAMatch) {
    Package("A=VEN_8086\r\n");
    // 254 bytes and its NUL fit the 255 given; 255 bytes do not.
    Keys(kNt, {std::string(254, 'X'), std::string(255, 'Y'), "VEN_8086&DEV_1"});
    EXPECT_FALSE(app.FindDeviceKey());
    EXPECT_EQ(os.OpenKeyCount(), 0);

    CFakeOs os2;
    CDriverSetupApp app2;
    os2.AddFile("C:\\Disk\\key.ini", "A=VEN_8086\r\n");
    app2.m_strAppDir = "C:\\Disk\\";
    os2.AddKey(kNt + "\\VEN_1&DEV_1");
    os2.AddKey(kNt + "\\VEN_8086&DEV_1");
    os2.FailCall(FakeOp::RegEnumKeyA, 1);
    EXPECT_FALSE(app2.FindDeviceKey());
    EXPECT_EQ(os2.OpenKeyCount(), 0);
}

TEST_F(DeviceKeySearchTest, LongestNameThatFitsIsReadWhole) {
    Package("A=VEN_8086\r\n");
    const std::string name = std::string(246, 'X') + "VEN_8086";  // 254 bytes
    Keys(kNt, {name});
    EXPECT_TRUE(app.FindDeviceKey());
    EXPECT_EQ(std::string(app.m_strDeviceId), name + "\"");
}

TEST_F(DeviceKeySearchTest, FailedDeletionTriesNoFurtherKey) {
    Package("A=VEN_8086\r\n");
    Keys(k9x, {"VEN_8086&DEV_1\\instance", "VEN_8086&DEV_2"});
    SetWindowsVersion(os, "win2k");  // NT deletes no key that has subkeys
    EXPECT_FALSE(app.RemoveDeviceKey());
    EXPECT_EQ(os.SubKeyNames(k9x).size(), 2u);
    EXPECT_EQ(std::count(os.calls.begin(), os.calls.end(), FakeOp::RegDeleteKeyA), 1);
    EXPECT_EQ(os.OpenKeyCount(), 0);
}

// Names are screened before they are searched; the screening may let a name through that holds
// no ID, but must never hide one: each name gives the first ID a plain search finds in it.
TEST_F(DeviceKeySearchTest, ScreeningNeverHidesAListedId) {
    const auto expectFirstIds = [this](const std::vector<std::string>& ids,
                                       const std::vector<std::string>& names) {
        std::string keyIni;
        for (const std::string& id : ids)
            keyIni += "ID=" + id + "\r\n";
        Package(keyIni);
        app.LoadKeyFile();
        for (const std::string& name : names) {
            int expected = -1;
            for (std::size_t i = 0; i < ids.size() && expected < 0; ++i) {
                if (name.find(ids[i]) != std::string::npos)
                    expected = static_cast<int>(i);
            }
            ASSERT_EQ(FirstListedIdIn(g_deviceIdTable, name.c_str()), expected)
                << name << " in " << keyIni;
        }
    };

    // A window that passes the hash but holds no ID ("ZBCDE" ends in QBCDE's "BCDE"), with an
    // ID one byte on; then with a full table, so that the window is compared with all 40 IDs.
    std::vector<std::string> ids = {"QBCDE", "BCDEF"};
    expectFirstIds(ids, {"ZBCDEF", "ZBCDE"});
    while (ids.size() < static_cast<std::size_t>(kMaxDeviceIds))
        ids.push_back("VEN_" + std::to_string(100 + ids.size()));
    expectFirstIds(ids, {"ZBCDEF", "ZBCDE", "VEN_139"});

    // Random names over a few bytes, so that IDs occur often, in every place, and overlap,
    // against key files whose shortest ID is 1 to 6 bytes long.
    std::mt19937 random(8086);
    const auto text = [&random](std::size_t length) {
        std::string t;
        while (t.size() < length)
            t += "AB&_0"[random() % 5];
        return t;
    };
    for (int file = 0; file < 60; ++file) {
        ids.clear();
        for (int i = 0; i < 1 + file % 5; ++i)
            ids.push_back(i == 0 ? text(1 + file % 6) : text(4 + random() % 8));
        std::vector<std::string> names;
        for (int n = 0; n < 200; ++n)
            names.push_back(text(random() % 40));
        expectFirstIds(ids, names);
    }
}
}  // namespace
