// The values a registry export sets, kept with their keys, and the text they hold.
#include "tools/keycheck/registry/reg_export.h"
#include "tools/keycheck/registry/reg_value_text.h"

#include "tools/keycheck/tests/registry/reg_file_forms.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;
const std::string kKey = "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\A\\0]";

// An export as regedit writes it, or as an editor saved it again: the header, not the file's
// encoding, says how hex(7) and hex(2) data is written.
struct Form {
    const char* name;
    RegFormat format;
    std::string (*encode)(const std::string&);
};

void PrintTo(const Form& form, std::ostream* out) {
    *out << form.name;
}

// text's characters as a hex: list, in UTF-16LE or as they are.
std::string HexList(const std::string& text, bool utf16) {
    static const char digits[] = "0123456789abcdef";
    std::string list;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        list += std::string(list.empty() ? "" : ",") + digits[byte >> 4] + digits[byte & 0xF];
        if (utf16)
            list += ",00";
    }
    return list;
}

class ValuesTest : public ::testing::TestWithParam<Form> {
protected:
    bool Utf16() const { return GetParam().format == RegFormat::Version5; }
    // Reads the lines after the header; returns the key A\0 or null.
    const RegKey* Read(const std::vector<std::string>& lines) {
        std::string text =
            std::string(Utf16() ? "Windows Registry Editor Version 5.00" : "REGEDIT4") + "\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
        std::string error;
        EXPECT_TRUE(ReadRegExport(GetParam().encode(text), "m.reg", 1252, contents, error))
            << error;
        EXPECT_EQ(contents.format, GetParam().format);
        return contents.tree.Find({"Enum", "PCI", "A", "0"});
    }
    Strings TextOf(const RegKey& key, const std::string& name) {
        const RegValue* value = key.Value(name);
        return value == nullptr ? Strings{"<none>"}
                                : RegValueStrings(*value, contents.format, 1252);
    }

    RegExport contents;
};

TEST_P(ValuesTest, EachFormIsKeptWithItsTypeAndText) {
    // Each string of a multi-string ends in NUL, the list in one more.
    const std::string ids = HexList(std::string("PCI\\VEN_1\0PCI\\CC_01\0\0", 22), Utf16());
    const std::string half = ids.substr(0, ids.find(',', 20) + 1);
    const RegKey* key =
        Read({kKey, "@=\"default\"", "\"Desc\"=\"a \\\"b\\\" \\\\c\"",
              "\"say\\\"so\\\\\"=dword:0001001f", "\"HardwareID\"=hex(7):" + half + "\\",
              "  " + ids.substr(half.size()), "\"Path\"=hex(2):" + HexList("%x%", Utf16()),
              "\"Flags\"=hex:00,ff", "\"Many\"=\"one,two\""});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(TextOf(*key, ""), Strings{"default"});
    EXPECT_EQ(TextOf(*key, "DESC"), Strings{"a \"b\" \\c"});
    ASSERT_NE(key->Value("say\"so\\"), nullptr);
    EXPECT_EQ(key->Value("say\"so\\")->type, kRegDword);
    EXPECT_EQ(key->Value("say\"so\\")->data, std::string("\x1f\x00\x01\x00", 4));
    EXPECT_EQ(key->Value("HardwareID")->type, kRegMultiSz);
    EXPECT_EQ(TextOf(*key, "HardwareID"), (Strings{"PCI\\VEN_1", "PCI\\CC_01"}));
    EXPECT_EQ(TextOf(*key, "Path"), Strings{"%x%"});
    EXPECT_EQ(key->Value("Flags")->type, kRegBinary);
    EXPECT_EQ(key->Value("Flags")->data, std::string("\x00\xff", 2));
    EXPECT_EQ(TextOf(*key, "Flags"), Strings{});
    // A comma-separated list is one string to the registry.
    EXPECT_EQ(TextOf(*key, "Many"), Strings{"one,two"});
}

TEST_P(ValuesTest, LaterLinesReplaceAndDeleteValuesAndKeys) {
    const RegKey* key = Read({kKey, "\"A\"=\"1\"", "\"B\"=\"2\"", "[HKEY_CURRENT_USER\\X]",
                              "\"A\"=\"other root\"", kKey, "\"a\"=\"3\"", "\"B\"=-",
                              "[-HKEY_LOCAL_MACHINE\\Enum\\PCI\\A\\0\\Gone]", "\"A\"=\"deleted\""});
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0].name, "A");
    EXPECT_EQ(TextOf(*key, "A"), Strings{"3"});

    // A key deleted and named again starts without its old values.
    const RegKey* again = Read({kKey, "\"A\"=\"1\"", "[-HKEY_LOCAL_MACHINE\\Enum\\PCI\\A]", kKey});
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->values.empty());
}

INSTANTIATE_TEST_SUITE_P(Forms, ValuesTest,
                         ::testing::Values(Form{"Regedit4", RegFormat::Regedit4, AsAnsi},
                                           Form{"Version5Utf16", RegFormat::Version5, AsUtf16},
                                           Form{"Version5SavedAsAnsi", RegFormat::Version5, AsAnsi},
                                           Form{"Version5SavedAsUtf8", RegFormat::Version5, AsUtf8},
                                           Form{"Regedit4SavedAsUtf16", RegFormat::Regedit4,
                                                AsUtf16}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ValuesTest, Utf16StringsOutsideTheCodePageBecomeQuestionMarks) {
    const RegValue value{"DeviceDesc", kRegMultiSz, std::string("\xAC\x20\x4E\x00\x00\x00", 6)};
    EXPECT_EQ(RegValueStrings(value, RegFormat::Version5, 1252), Strings{"\x80N"});
    EXPECT_EQ(RegValueStrings(value, RegFormat::Version5, 932), Strings{"?N"});
}
}  // namespace
