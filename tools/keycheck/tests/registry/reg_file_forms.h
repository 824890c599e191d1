// ASCII export text stored as each encoding a registry export file may have.
#pragma once

#include <string>

// As reg export writes it: UTF-16LE with a byte-order mark.
inline std::string AsUtf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// As regedit writes REGEDIT4, or an editor saves either format as ANSI.
inline std::string AsAnsi(const std::string& ascii) {
    return ascii;
}

// As an editor saves it as UTF-8, with the byte-order mark.
inline std::string AsUtf8(const std::string& ascii) {
    return "\xEF\xBB\xBF" + ascii;
}
