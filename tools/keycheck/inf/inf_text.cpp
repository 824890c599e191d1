// An INF file's bytes as text: ANSI, or UTF-16LE after its byte-order mark.
#include "tools/keycheck/inf/inf_text.h"

#include "tools/keycheck/text/code_page.h"

#include <algorithm>

InfText DecodeInfBytes(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return InfText{InfEncoding::Utf16Le, Utf16ToUtf8(bytes.substr(2))};
    InfText text{InfEncoding::Ansi, {}};
    const auto high = [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; };
    if (std::none_of(bytes.begin(), bytes.end(), high)) {
        text.text = bytes;
        return text;
    }
    text.text.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        const unsigned char code = static_cast<unsigned char>(byte);
        if (code < 0x80) {
            text.text += byte;
        } else {
            text.text += static_cast<char>(0xC0 | (code >> 6));
            text.text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}
