// Character-wise search and reversal of 8-bit text in the system's ANSI code page.
#include "platform/mbcs_text.h"

#include "platform/os_api.h"

#include <cstring>

int MbCharLength(const char* text) {
    if (Os().IsLeadByte(static_cast<unsigned char>(text[0])) && text[1] != '\0')
        return 2;
    return 1;
}

int MbFindChar(const char* text, char ch) {
    for (const char* p = text; *p != '\0'; p += MbCharLength(p)) {
        if (*p == ch)
            return static_cast<int>(p - text);
    }
    return -1;
}

int MbFindString(const char* text, const char* needle) {
    const std::size_t needleLength = std::strlen(needle);
    for (const char* p = text;; p += MbCharLength(p)) {
        if (std::strncmp(p, needle, needleLength) == 0)
            return static_cast<int>(p - text);
        if (*p == '\0')
            return -1;
    }
}

void MbReverse(char* text, int length) {
    // Walk forward to find whole characters, swapping each double-byte pair in place, then
    // reverse all bytes: the pairs come out in their original order.
    for (int i = 0; i < length;) {
        if (i + 1 < length && Os().IsLeadByte(static_cast<unsigned char>(text[i]))) {
            const char lead = text[i];
            text[i] = text[i + 1];
            text[i + 1] = lead;
            i += 2;
        } else {
            i += 1;
        }
    }
    for (int lo = 0, hi = length - 1; lo < hi; ++lo, --hi) {
        const char c = text[lo];
        text[lo] = text[hi];
        text[hi] = c;
    }
}
