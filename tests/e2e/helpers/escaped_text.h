// The test helpers' one-line form of text: control bytes, bytes from 0x7F, and the backslash
// are written as \xHH, so captions, messages and command lines keep their exact bytes.
#pragma once

#include <string>

inline std::string escape(const char* s) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
        if (*p < 0x20 || *p >= 0x7f || *p == '\\') {
            out += "\\x";
            out += hex[*p >> 4];
            out += hex[*p & 0xf];
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out;
}
