// INF text for tests: written with "\n" line ends, stored as Windows stores it.
#include "tools/keycheck/tests/inf/inf_fixture.h"

namespace {
// The code points of UTF-8 text (test text is well formed, up to three bytes a character).
std::u16string CodePoints(const std::string& text) {
    std::u16string units;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char16_t code = c;
        int length = 1;
        if (c >= 0xE0) {
            code = static_cast<char16_t>(((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) |
                                         (text[i + 2] & 0x3F));
            length = 3;
        } else if (c >= 0xC0) {
            code = static_cast<char16_t>(((c & 0x1F) << 6) | (text[i + 1] & 0x3F));
            length = 2;
        }
        if (code == '\n')
            units += u'\r';
        units += code;
        i += static_cast<std::size_t>(length);
    }
    return units;
}
}  // namespace

std::string InfBytes(const std::string& text, InfEncoding encoding) {
    std::string bytes;
    if (encoding == InfEncoding::Utf16Le)
        bytes = "\xFF\xFE";
    for (char16_t unit : CodePoints(text)) {
        bytes += static_cast<char>(unit & 0xFF);
        if (encoding == InfEncoding::Utf16Le)
            bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const char* EncodingName(InfEncoding encoding) {
    return encoding == InfEncoding::Ansi ? "Ansi" : "Utf16Le";
}

void PrintTo(InfEncoding encoding, std::ostream* out) {
    *out << EncodingName(encoding);
}
