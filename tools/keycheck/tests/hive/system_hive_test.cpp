// The SYSTEM hive reader on hives held in memory: which control set it reads, and how names and
// values come into the machine's code page.
#include "tools/keycheck/registry/memory_hive.h"
#include "tools/keycheck/registry/system_hive.h"

#include "tools/keycheck/text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using Node = HiveSource::Node;

std::string Dword(unsigned value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                       static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
}

// A hive with Select naming current, and below ControlSet00N\Enum\PCI the key path pci.
class SystemHiveTest : public ::testing::Test {
protected:
    Node ControlSet(const char* name) {
        const Node set = hive.Add(hive.Root(), name);
        return hive.Add(hive.Add(set, "Enum"), "PCI");
    }
    void Select(unsigned current) {
        const Node select = hive.Add(hive.Root(), "Select");
        hive.SetValue(select, {"Current", 4, Dword(current)});
    }
    std::string Read(int codePage = 1252) {
        std::string error;
        return ReadSystemHive(hive, codePage, "", tree, controlSet, error) ? "" : error;
    }

    MemoryHive hive;
    RegKeyTree tree;
    std::string controlSet;
};

TEST_F(SystemHiveTest, ReadsTheControlSetSelectNamesAsCurrentControlSet) {
    hive.Add(ControlSet("ControlSet001"), "VEN_OLD");
    const Node device = hive.Add(ControlSet("controlset002"), "VEN_1A2B&DEV_5820");
    const Node instance = hive.Add(device, "4&1f7dbc9f&0&10");
    hive.SetValue(instance, {"DeviceDesc", 1, Utf8ToUtf16("HX5820") + std::string(2, '\0')});
    const std::string ids = Utf8ToUtf16("PCI\\VEN_1A2B&DEV_5820") + std::string(4, '\0');
    hive.SetValue(instance, {"HardwareID", 7, ids});
    Select(2);
    ASSERT_EQ(Read(), "");
    const RegKey* pci = tree.Find({"SYSTEM", "CurrentControlSet", "Enum", "PCI"});
    ASSERT_NE(pci, nullptr);
    ASSERT_EQ(pci->subkeys.size(), 1u);
    EXPECT_EQ(pci->subkeys[0]->name, "VEN_1A2B&DEV_5820");
    const RegKey* read = pci->subkeys[0]->Subkey("4&1f7dbc9f&0&10");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Value("DeviceDesc")->data, "HX5820");  // REG_SZ: text, up to its NUL
    EXPECT_EQ(read->Value("HardwareID")->data, ids);       // REG_MULTI_SZ: UTF-16LE as stored
    EXPECT_EQ(controlSet, "ControlSet002");
}

TEST_F(SystemHiveTest, NamesComeInTheMachinesCodePageOrAreRefused) {
    // U+529F is Big5 A5 5C, whose trail byte is a backslash: one character of a key name.
    hive.Add(ControlSet("ControlSet001"), "VEN_\xE5\x8A\x9F");
    Select(1);
    ASSERT_EQ(Read(950), "");
    EXPECT_NE(tree.Find({"SYSTEM", "CurrentControlSet", "Enum", "PCI", "VEN_\xA5\x5C"}), nullptr);
    EXPECT_EQ(Read(1252),
              "a key name holds U+529F, which keycheck cannot convert to code page 1252");
}

TEST_F(SystemHiveTest, AHiveWithoutItsCurrentControlSetIsRefused) {
    ControlSet("ControlSet001");
    EXPECT_EQ(Read(), "no Select key with a Current control set: not a SYSTEM hive");
    Select(0);
    EXPECT_EQ(Read(), "no Select key with a Current control set: not a SYSTEM hive");
    MemoryHive other;
    hive = other;
    ControlSet("ControlSet001");
    Select(3);
    EXPECT_EQ(Read(), "Select names ControlSet003, which the hive does not hold");
}

TEST_F(SystemHiveTest, AControlSetWithoutPciGivesAnEmptyBranchAndAnEndlessOneIsRefused) {
    hive.Add(hive.Root(), "ControlSet001");
    Select(1);
    ASSERT_EQ(Read(), "");
    EXPECT_EQ(tree.Count(), 0);

    MemoryHive deep;
    hive = deep;
    Node node = ControlSet("ControlSet001");
    for (int i = 0; i < 40; ++i)
        node = hive.Add(node, "K");
    Select(1);
    EXPECT_EQ(Read(), "more keys below Enum\\PCI, or deeper, than a SYSTEM hive holds");
}
}  // namespace
