// libFuzzer target: registry-export bytes through keycheck's reader, in any code page.
//
// Checks beyond "no crash": an error names a line inside the file; reading the same bytes twice
// gives the same tree; and the tree written back out as a REGEDIT4 export and read again is
// the same tree.
#include "fuzz/key_text_reference.h"
#include "fuzz/reg_tree_dump.h"
#include "sim/ansi_names.h"
#include "sim/fake_os.h"
#include "tools/keycheck/registry/reg_export.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
void Require(bool condition, const char* what) {
    FuzzRequire(condition, "export", what);
}

// text inside double quotes with its backslashes and quotes escaped, character by character
// in the code page, so that a trail byte is never escaped.
std::string Quoted(const std::string& text, int codePage) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByteIn(codePage, byte) && i + 1 < text.size()) {
            out += text.substr(i++, 2);
            continue;
        }
        if (text[i] == '\\' || text[i] == '"')
            out += '\\';
        out += text[i];
    }
    return out + "\"";
}

// The tree as a REGEDIT4 export: every value as hex(type): bytes, which the reader keeps as
// they are; a string's hex(1): with the NUL that ends it, which the reader takes away.
void Write(const RegKey& key, const std::string& path, int codePage, std::string& out) {
    static const char digits[] = "0123456789abcdef";
    out += "[" + path + "]\r\n";
    for (const RegValue& value : key.values) {
        char type[16];
        std::snprintf(type, sizeof type, "%x", static_cast<unsigned>(value.type));
        out += (value.name.empty() ? "@" : Quoted(value.name, codePage)) + "=hex(" + type + "):";
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            const unsigned char byte = static_cast<unsigned char>(value.data[i]);
            out += std::string(i == 0 ? "" : ",") + digits[byte >> 4] + digits[byte & 0xF];
        }
        if (value.type == kRegSz)
            out += value.data.empty() ? "00" : ",00";
        out += "\r\n";
    }
    for (const auto& child : key.subkeys)
        Write(*child, path + "\\" + child->name, codePage, out);
}

// What reading bytes in codePage gives: the error, or the tree's dump.
std::string Reading(const std::string& bytes, int codePage, RegExport& contents) {
    std::string error;
    if (!ReadRegExport(bytes, "f.reg", codePage, contents, error)) {
        const std::size_t colon = error.find(':', 6);
        Require(error.compare(0, 6, "f.reg:") == 0 && colon != std::string::npos,
                "an error without its file and line");
        const long line = std::strtol(error.c_str() + 6, nullptr, 10);
        long lines = 1;
        for (char c : bytes)
            lines += c == '\n';
        Require(line >= 1 && line <= lines, "an error names a line outside the file");
        return "error " + error;
    }
    std::string dump;
    DumpRegTree(contents.tree.Root(), "", dump);
    return dump;
}
}  // namespace

// The first byte picks the ANSI code page; the rest is the export.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int codePage = FuzzCodePage(data[0]);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    RegExport first;
    RegExport second;
    const std::string reading = Reading(bytes, codePage, first);
    Require(reading == Reading(bytes, codePage, second), "the same bytes read twice differ");
    if (reading.compare(0, 6, "error ") == 0)
        return 0;

    // HKEY_LOCAL_MACHINE itself may hold values too.
    std::string written = "REGEDIT4\r\n";
    Write(first.tree.Root(), "HKEY_LOCAL_MACHINE", codePage, written);
    RegExport again;
    Require(Reading(written, codePage, again) == reading, "the tree written out reads back else");
    return 0;
}
