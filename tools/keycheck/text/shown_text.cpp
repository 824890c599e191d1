// Shown: ANSI bytes made safe for a terminal, for the reports meant for people.
#include "tools/keycheck/text/shown_text.h"

#include "sim/ansi_names.h"
#include "tools/keycheck/text/code_page.h"

namespace {
const unsigned kReplacement = 0xFFFD;

std::string ShownByte(char c) {
    static const char hex[] = "0123456789ABCDEF";
    const unsigned char byte = static_cast<unsigned char>(c);
    switch (c) {
    case '\r':
        return "\\r";
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    default:
        if (byte < 0x20 || byte >= 0x7F)
            return std::string("\\x") + hex[byte >> 4] + hex[byte & 0xF];
        return std::string(1, c);
    }
}
}  // namespace

std::string Shown(const std::string& bytes) {
    std::string out;
    for (const char c : bytes)
        out += ShownByte(c);
    return out;
}

std::string Shown(const std::string& bytes, int codePage) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = IsLeadByteIn(codePage, byte) && i + 1 < bytes.size() ? 2 : 1;
        const std::string character = bytes.substr(i, length);
        i += length - 1;
        // ASCII, C1 control characters and what the code page lacks stay escaped.
        const std::string utf16 = byte >= 0x80 ? CodePageToUtf16(character, codePage) : "";
        const unsigned code = utf16.size() == 2 ? static_cast<unsigned char>(utf16[0]) |
                                                      static_cast<unsigned char>(utf16[1]) << 8
                                                : 0;
        const bool showable = code >= 0xA0 && code != kReplacement;
        const std::string shown = showable ? Utf16ToTerminal(utf16) : std::string();
        out += shown.empty() ? Shown(character) : shown;
    }
    return out;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
