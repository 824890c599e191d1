// Names in an ANSI code page as Windows compares and cuts them: character by character.
#include "sim/ansi_names.h"

namespace {
// The upper-case form of a single-byte character of code page 1252 above 0x7F: the Latin-1
// letters à to þ (but ÷), and š, œ, ž and ÿ, whose capitals Windows-1252 places at 0x8A,
// 0x8C, 0x8E and 0x9F.
unsigned char Upper1252(unsigned char byte) {
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
        return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return byte;
    }
}
}  // namespace

bool IsAnsiCodePage(int codePage) {
    for (int known : kAnsiCodePages)
        if (known == codePage)
            return true;
    return false;
}

bool IsLeadByteIn(int codePage, unsigned char byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

std::string FoldAnsiName(const std::string& name, int codePage) {
    std::string folded = name;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(folded[i]);
        if (IsLeadByteIn(codePage, byte) && i + 1 < folded.size())
            ++i;
        else if (byte >= 'a' && byte <= 'z')
            folded[i] = static_cast<char>(byte - 'a' + 'A');
        else if (codePage == 1252 && byte >= 0x80)
            folded[i] = static_cast<char>(Upper1252(byte));
    }
    return folded;
}

bool SameAnsiName(const std::string& a, const std::string& b, int codePage) {
    return a.size() == b.size() && FoldAnsiName(a, codePage) == FoldAnsiName(b, codePage);
}

std::vector<std::string> SplitAnsiPath(const std::string& path, int codePage) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByteIn(codePage, byte) && i + 1 < path.size()) {
            parts.back() += path.substr(i, 2);
            ++i;
        } else if (byte == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += path[i];
        }
    }
    return parts;
}
