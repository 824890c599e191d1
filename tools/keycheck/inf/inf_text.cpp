// An INF file's bytes as text: ANSI, or UTF-16LE after its byte-order mark.
#include "tools/keycheck/inf/inf_text.h"

namespace {
void AppendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

unsigned long Unit(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           (static_cast<unsigned long>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}
}  // namespace

InfText DecodeInfBytes(const std::string& bytes) {
    InfText text{InfEncoding::Ansi, {}};
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text.encoding = InfEncoding::Utf16Le;
        for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
            unsigned long code = Unit(bytes, at);
            if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
                const unsigned long low = Unit(bytes, at + 2);
                if (low >= 0xDC00 && low < 0xE000) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    at += 2;
                }
            }
            AppendUtf8(text.text, code);
        }
        return text;
    }
    for (char byte : bytes)
        AppendUtf8(text.text, static_cast<unsigned char>(byte));
    return text;
}

std::string InfUpper(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}
