// The lines of a registry export, whatever its file's encoding, as text in the ANSI code page.
#include "tools/keycheck/regexport/reg_text.h"

#include "tools/keycheck/text/code_page.h"

namespace {
const char* const kUtf16Mark = "\xFF\xFE";
const char* const kUtf8Mark = "\xEF\xBB\xBF";

// Cuts text at each line feed, a unit of unitSize bytes; calls add with each line's bytes.
template <typename Add> void CutLines(const std::string& text, std::size_t unitSize, Add add) {
    std::size_t start = 0;
    for (std::size_t at = 0; at + unitSize <= text.size(); at += unitSize) {
        if (text[at] == '\n' && (unitSize == 1 || text[at + 1] == '\0')) {
            add(text.substr(start, at - start));
            start = at + unitSize;
        }
    }
    add(text.substr(start));
}

void AddLine(RegText& text, std::string line, std::uint32_t unconvertible) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    text.lines.push_back(RegLine{static_cast<int>(text.lines.size()) + 1, line, unconvertible});
}

void AddUnicodeLine(RegText& text, std::string utf16, int codePage) {
    if (utf16.size() >= 2 && utf16[utf16.size() - 2] == '\r' && utf16.back() == '\0')
        utf16.resize(utf16.size() - 2);
    std::uint32_t unconvertible = 0;
    const std::string line = Utf16ToCodePage(utf16, codePage, &unconvertible);
    AddLine(text, line, unconvertible);
}
}  // namespace

RegText DecodeRegText(const std::string& bytes, int codePage) {
    RegText text;
    if (bytes.compare(0, 2, kUtf16Mark) == 0) {
        text.encoding = RegFileEncoding::Utf16;
        CutLines(bytes.substr(2), 2,
                 [&](const std::string& line) { AddUnicodeLine(text, line, codePage); });
    } else if (bytes.compare(0, 3, kUtf8Mark) == 0) {
        text.encoding = RegFileEncoding::Utf8;
        CutLines(bytes.substr(3), 1, [&](const std::string& line) {
            AddUnicodeLine(text, Utf8ToUtf16(line), codePage);
        });
    } else {
        CutLines(bytes, 1, [&](const std::string& line) { AddLine(text, line, 0); });
    }
    return text;
}
