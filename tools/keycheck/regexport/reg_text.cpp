// The lines of a registry export, in either encoding, as text in the ANSI code page.
#include "tools/keycheck/regexport/reg_text.h"

namespace {
const std::uint32_t kReplacement = 0xFFFD;

// The code-page 1252 byte of a character above U+007F, or 0 when it has none.
unsigned char Cp1252Byte(std::uint32_t code) {
    static const std::uint16_t k80To9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (code >= 0xA0 && code <= 0xFF)
        return static_cast<unsigned char>(code);
    for (int i = 0; i < 32; ++i) {
        if (k80To9F[i] == code)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

void AppendAnsi(RegLine& line, std::uint32_t code, int codePage) {
    if (code < 0x80) {
        line.text += static_cast<char>(code);
        return;
    }
    const unsigned char byte = codePage == 1252 ? Cp1252Byte(code) : 0;
    if (byte != 0) {
        line.text += static_cast<char>(byte);
        return;
    }
    line.text += '?';
    if (line.unconvertible == 0)
        line.unconvertible = code;
}

// The UTF-16LE text from byte start on, as code points; half a pair is U+FFFD.
std::vector<std::uint32_t> Utf16CodePoints(const std::string& bytes, std::size_t start) {
    std::vector<std::uint32_t> codes;
    std::size_t i = start;
    auto unit = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t high = unit(i);
        if (high >= 0xD800 && high <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codes.push_back(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        codes.push_back(high >= 0xD800 && high <= 0xDFFF ? kReplacement : high);
    }
    if (i < bytes.size())
        codes.push_back(kReplacement);
    return codes;
}

void DropCarriageReturn(RegLine& line) {
    if (!line.text.empty() && line.text.back() == '\r')
        line.text.pop_back();
}

void EndLine(RegText& text) {
    DropCarriageReturn(text.lines.back());
    const int next = text.lines.back().number + 1;
    text.lines.push_back(RegLine{next, std::string()});
}
}  // namespace

const char* RegEncodingName(RegEncoding encoding) {
    return encoding == RegEncoding::Utf16 ? "UTF-16LE" : "REGEDIT4";
}

std::string Utf16ToAnsi(const std::string& utf16, int codePage) {
    RegLine line{1, std::string()};
    for (const std::uint32_t code : Utf16CodePoints(utf16, 0))
        AppendAnsi(line, code, codePage);
    return line.text;
}

RegText DecodeRegText(const std::string& bytes, int codePage) {
    RegText text;
    text.lines.push_back(RegLine{1, std::string()});
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text.encoding = RegEncoding::Utf16;
        for (const std::uint32_t code : Utf16CodePoints(bytes, 2)) {
            if (code == '\n')
                EndLine(text);
            else
                AppendAnsi(text.lines.back(), code, codePage);
        }
    } else {
        for (const char c : bytes) {
            if (c == '\n')
                EndLine(text);
            else
                text.lines.back().text += c;
        }
    }
    DropCarriageReturn(text.lines.back());
    return text;
}
