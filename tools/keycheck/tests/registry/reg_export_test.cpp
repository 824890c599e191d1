// Reading registry exports in both encodings into a machine's key tree, and their errors.
#include "tools/keycheck/machine/machine_source.h"

#include "sim/ansi_names.h"
#include "tools/keycheck/tests/registry/reg_file_forms.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {
using Names = std::vector<std::string>;

// The key at path ("" for HKEY_LOCAL_MACHINE), cut in the tree's code page, or null.
const RegKey* KeyAt(const MachineSource& machine, const std::string& path) {
    const RegKey& root = machine.tree.Root();
    return path.empty() ? &root : machine.tree.Find(SplitAnsiPath(path, root.codePage));
}

// The names of the key's subkeys in the tree's order; none for a missing key.
Names SubKeyNames(const MachineSource& machine, const std::string& path) {
    Names names;
    if (const RegKey* key = KeyAt(machine, path)) {
        for (const auto& subkey : key->subkeys)
            names.push_back(subkey->name);
    }
    return names;
}

bool KeyExists(const MachineSource& machine, const std::string& path) {
    return KeyAt(machine, path) != nullptr;
}
const std::string kPci = "SYSTEM\\CurrentControlSet\\Enum\\PCI";
const std::string kHklmPci = "HKEY_LOCAL_MACHINE\\" + kPci;

std::string Utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

struct Encoding {
    const char* name;
    const char* header;
    std::string (*encode)(const std::string&);
    RegFileEncoding expected;
};

void PrintTo(const Encoding& encoding, std::ostream* out) {
    *out << encoding.name;
}

class BothEncodingsTest : public ::testing::TestWithParam<Encoding> {
protected:
    // Loads the lines after the header, joined with CR LF; returns the error or "".
    std::string Load(const std::vector<std::string>& lines) {
        std::string text = std::string(GetParam().header) + "\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
        std::string error;
        if (!ReadMachine(GetParam().encode(text), "m.reg", 1252, {}, machine, error))
            return error;
        EXPECT_EQ(machine.encoding, GetParam().expected);
        return "";
    }

    MachineSource machine;
};

TEST_P(BothEncodingsTest, KeysComeInTheFileOrderWithOrWithoutSubkeys) {
    ASSERT_EQ(Load({"", "[" + kHklmPci + "]", "",
                    "[" + kHklmPci + "\\VEN_8086&DEV_7110&SUBSYS_00000000&REV_02]",
                    "\"DeviceDesc\"=\"ISA bridge\"", "",
                    "[" + kHklmPci + "\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01\\4&1f7dbc9f&0&10]",
                    "\"Service\"=\"hx5820\"", "",
                    "[" + kHklmPci + "\\VEN_1002&DEV_4C59&SUBSYS_00000000&REV_00]"}),
              "");
    EXPECT_EQ(SubKeyNames(machine, kPci), (Names{"VEN_8086&DEV_7110&SUBSYS_00000000&REV_02",
                                                 "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01",
                                                 "VEN_1002&DEV_4C59&SUBSYS_00000000&REV_00"}));
    EXPECT_EQ(SubKeyNames(machine, kPci + "\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"),
              Names{"4&1f7dbc9f&0&10"});
    EXPECT_TRUE(SubKeyNames(machine, kPci + "\\VEN_1002&DEV_4C59&SUBSYS_00000000&REV_00").empty());
    // The keys above the named ones count too: SYSTEM, CurrentControlSet, Enum, PCI, 3, 1.
    EXPECT_EQ(machine.localMachineKeys, 4 + 3 + 1);
}

// A SYSTEM hive loaded under another name and exported (reg load HKLM\TEMP SYSTEM; reg export
// HKLM\TEMP), as a support engineer makes one from a machine's disk: the control set Select's
// Current names is read as CurrentControlSet. A running machine's export is read as it is.
TEST_P(BothEncodingsTest, ALoadedHivesCurrentControlSetIsTheOneSelectNames) {
    const std::string hive = "HKEY_LOCAL_MACHINE\\TEMP";
    ASSERT_EQ(Load({"", "[" + hive + "\\Select]", "\"Current\"=dword:00000002",
                    "\"Default\"=dword:00000001", "",
                    "[" + hive + "\\ControlSet001\\Enum\\PCI\\VEN_1002&DEV_4C59\\0]", "",
                    "[" + hive + "\\ControlSet002\\Enum\\PCI\\VEN_1A2B&DEV_5820\\3&1]",
                    "\"Service\"=\"hx5820\"", ""}),
              "");
    EXPECT_EQ(SubKeyNames(machine, kPci), Names{"VEN_1A2B&DEV_5820"});
    EXPECT_EQ(SubKeyNames(machine, kPci + "\\VEN_1A2B&DEV_5820"), Names{"3&1"});
    EXPECT_EQ(machine.controlSet, "TEMP\\ControlSet002");
    EXPECT_EQ(machine.localMachineKeys, 12);  // the file's keys, not the copy's

    MachineSource running;
    std::string error;
    const std::string text = std::string(GetParam().header) + "\r\n\r\n[" + hive +
                             "\\Select]\r\n\"Current\"=dword:00000001\r\n\r\n[" + hive +
                             "\\ControlSet001\\Enum\\PCI\\A]\r\n\r\n[" + kHklmPci + "\\B]\r\n";
    ASSERT_TRUE(ReadMachine(GetParam().encode(text), "r.reg", 1252, {}, running, error)) << error;
    EXPECT_EQ(SubKeyNames(running, kPci), Names{"B"});
    EXPECT_EQ(running.controlSet, "");
}

TEST_P(BothEncodingsTest, NamesKeepAmpersandsBlanksEqualsSignsAndBrackets) {
    ASSERT_EQ(Load({"[" + kHklmPci + "\\VEN_1&DEV 2=3]", "[" + kHklmPci + "\\  lead]  ",
                    "[" + kHklmPci + "\\a[b]c]"}),
              "");
    EXPECT_EQ(SubKeyNames(machine, kPci), (Names{"VEN_1&DEV 2=3", "  lead", "a[b]c"}));
}

TEST_P(BothEncodingsTest, DeletionsTakeTheWholeKeyAndALaterKeyComesLast) {
    ASSERT_EQ(Load({"[" + kHklmPci + "\\A\\0]", "[" + kHklmPci + "\\B]", "[-" + kHklmPci + "\\a]",
                    "[-" + kHklmPci + "\\NotThere\\X]", "[" + kHklmPci + "\\A]"}),
              "");
    EXPECT_EQ(SubKeyNames(machine, kPci), (Names{"B", "A"}));
    EXPECT_FALSE(KeyExists(machine, kPci + "\\A\\0"));
}

TEST_P(BothEncodingsTest, ValuesOfEveryFormAreSkipped) {
    ASSERT_EQ(Load({"[" + kHklmPci + "\\A]", "@=\"default\"", "\"quote\\\"]\"=\"x\"",
                    "\"back\\\\\"=dword:0000001f", "\"Flags\" = dword:1",
                    "\"HardwareID\"=hex(7):50,00,43,00,49,00,5c,00,56,00,45,00,4e,00,5f,00,\\",
                    "  31,00,00,00,00,00", "\"Bin\"=hex:", "\"Gone\"=-", "\"Text\"=\"first line",
                    "[HKEY_LOCAL_MACHINE\\NotAKey]", "last\"",
                    "; [HKEY_LOCAL_MACHINE\\NotAKeyEither]", "[" + kHklmPci + "\\B]"}),
              "");
    EXPECT_EQ(SubKeyNames(machine, kPci), (Names{"A", "B"}));
    EXPECT_FALSE(KeyExists(machine, "NotAKey"));
    EXPECT_FALSE(KeyExists(machine, "NotAKeyEither"));
}

TEST_P(BothEncodingsTest, OtherRootsAreSkipped) {
    ASSERT_EQ(Load({"[HKEY_CURRENT_USER\\Software\\Wine]", "\"Version\"=\"winxp\"",
                    "[HKEY_USERS\\S-1]", "[-HKEY_CLASSES_ROOT\\X]", "[" + kHklmPci + "\\A]"}),
              "");
    EXPECT_EQ(SubKeyNames(machine, ""), Names{"SYSTEM"});
}

struct BadExport {
    std::vector<std::string> lines;
    const char* error;
};

TEST_P(BothEncodingsTest, ErrorsNameTheFileAndLineAndAddNothing) {
    const std::string key = "[" + kHklmPci + "\\A]";
    const BadExport cases[] = {
        {{key, "[HKEY_LOCAL_MACHINE\\B"}, "m.reg:3: key line without its closing ]"},
        {{key, "[HKEY_LOCAL_MACHINE\\B] x"}, "m.reg:3: unexpected text after the key's"},
        {{"[HKEY_LOCAL_MACHIN\\B]"}, "m.reg:2: unknown root key \"HKEY_LOCAL_MACHIN\""},
        {{"[HKEY_LOCAL_MACHINE\\A\\\\B]"}, "m.reg:2: empty key name"},
        {{"[-HKEY_LOCAL_MACHINE]"}, "m.reg:2: a root key cannot be deleted"},
        {{"", "\"x\"=\"y\""}, "m.reg:3: value before the first key"},
        {{key, "\"x=\"y\""}, "m.reg:3: \"=\" expected"},
        {{key, "\"x\"=dword:123456789"}, "m.reg:3: dword: must be followed by 1 to 8"},
        {{key, "\"x\"=hex:1,234"}, "m.reg:3: hex data must be bytes"},
        {{key, "\"x\"=hex:00,\\", "  zz"}, "m.reg:4: hex data must be bytes"},
        // A continued value's next line is data, even when it looks like a key.
        {{key, "\"x\"=hex:00,\\", "[HKEY_LOCAL_MACHINE\\B]"}, "m.reg:4: hex data must be"},
        {{key, "\"x\"=\"open"}, "m.reg:4: the file ends inside a value's data"},
        {{key, "\"x\"=\"y\" z"}, "m.reg:3: unexpected text after the string's closing quote"},
        {{key, "\"x\"=sz:y"}, "m.reg:3: unknown value data"},
        {{key, "garbage"}, "m.reg:3: expected a [key] line"},
    };
    for (const BadExport& bad : cases) {
        MachineSource fresh;
        std::string text = std::string(GetParam().header) + "\r\n";
        for (const std::string& line : bad.lines)
            text += line + "\r\n";
        std::string error;
        EXPECT_FALSE(ReadMachine(GetParam().encode(text), "m.reg", 1252, {}, fresh, error));
        EXPECT_EQ(error.rfind(bad.error, 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        EXPECT_TRUE(SubKeyNames(fresh, "").empty()) << bad.error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, BothEncodingsTest,
    ::testing::Values(Encoding{"Regedit4", "REGEDIT4", AsAnsi, RegFileEncoding::Ansi},
                      Encoding{"Version5Utf16", "Windows Registry Editor Version 5.00", AsUtf16,
                               RegFileEncoding::Utf16},
                      Encoding{"Version5SavedAsAnsi", "Windows Registry Editor Version 5.00",
                               AsAnsi, RegFileEncoding::Ansi},
                      Encoding{"Version5SavedAsUtf8", "Windows Registry Editor Version 5.00",
                               AsUtf8, RegFileEncoding::Utf8}),
    [](const auto& param) { return std::string(param.param.name); });

std::string LoadError(const std::string& bytes, MachineSource& machine, int codePage = 1252) {
    std::string error;
    return ReadMachine(bytes, "m.reg", codePage, {}, machine, error) ? "" : error;
}

TEST(RegExportTest, FirstLineMustBeAHeader) {
    MachineSource machine;
    const std::string notExport = "m.reg:1: not a registry export";
    EXPECT_EQ(LoadError("", machine).rfind(notExport, 0), 0u);
    EXPECT_EQ(LoadError("[HKEY_LOCAL_MACHINE\\A]\r\n", machine).rfind(notExport, 0), 0u);
    // UTF-16 without its byte-order mark is not taken for text.
    EXPECT_EQ(LoadError(AsUtf16("REGEDIT4\r\n").substr(2), machine).rfind(notExport, 0), 0u);
    EXPECT_EQ(LoadError("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n", machine), "");
    EXPECT_TRUE(KeyExists(machine, "A"));
}

TEST(RegExportTest, Utf16NamesAreConvertedToTheAnsiCodePage) {
    MachineSource machine;
    EXPECT_EQ(LoadError(Utf16(u"Windows Registry Editor Version 5.00\r\n"
                              u"[HKEY_LOCAL_MACHINE\\caf\u00e9\u20ac]\r\n"
                              u"\"Desc\"=\"\u529f\"\r\n"),
                        machine),
              "");
    EXPECT_EQ(SubKeyNames(machine, ""), Names{"caf\xE9\x80"});

    // Each code page converts by its own table: 功 is A5 5C in Big5, a backslash byte last,
    // and the key keeps its name whole.
    MachineSource big5;
    EXPECT_EQ(LoadError(Utf16(u"Windows Registry Editor Version 5.00\r\n"
                              u"[HKEY_LOCAL_MACHINE\\A]\r\n\"Desc\"=\"\u529f\"\r\n"
                              u"[HKEY_LOCAL_MACHINE\\pkg\u529f\\Sub]\r\n"),
                        big5, 950),
              "");
    EXPECT_EQ(SubKeyNames(big5, ""), (Names{"A", "pkg\xA5\x5C"}));
    EXPECT_EQ(SubKeyNames(big5, "pkg\xA5\x5C"), Names{"Sub"});
    // A character no code page of the machine has is refused in a key name.
    MachineSource emoji;
    EXPECT_EQ(LoadError(Utf16(u"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\\U0001F600]\r\n"), emoji)
                  .rfind("m.reg:2: the key name holds U+1F600", 0),
              0u);
}

TEST(RegExportTest, AnsiTextIsWalkedInTheMachinesCodePage) {
    // In Big5, A5 5C is one character whose second byte is a backslash.
    const std::string text = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Desc\"=\"\xA5\x5C\"\r\n";
    MachineSource big5;
    EXPECT_EQ(LoadError(text, big5, 950), "");
    MachineSource western;
    EXPECT_EQ(LoadError(text, western), "m.reg:4: the file ends inside a value's data");

    // A key name whose double-byte character ends in 0x5C is one name (表 is 95 5C in
    // Shift-JIS); two names that differ only in a trail byte's case are two keys (89 41 and
    // 89 61 are two characters there), but one in 1252, where they are letters.
    const std::string twoNames =
        "[HKEY_LOCAL_MACHINE\\\x89\x41]\r\n[HKEY_LOCAL_MACHINE\\\x89\x61]\r\n";
    MachineSource shiftJis;
    EXPECT_EQ(
        LoadError("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\pkg\x95\x5C]\r\n" + twoNames, shiftJis, 932),
        "");
    EXPECT_EQ(SubKeyNames(shiftJis, ""), (Names{"pkg\x95\x5C", "\x89\x41", "\x89\x61"}));
    MachineSource latin;
    EXPECT_EQ(LoadError("REGEDIT4\r\n" + twoNames, latin), "");
    EXPECT_EQ(SubKeyNames(latin, ""), Names{"\x89\x41"});
}

TEST(RegExportTest, UnreadableFileIsNamed) {
    MachineSource machine;
    std::string error;
    EXPECT_FALSE(OpenMachine("/nonexistent/machine.reg", 1252, {}, machine, error));
    EXPECT_EQ(error, "/nonexistent/machine.reg: cannot be read");
}
}  // namespace
