// Character-wise search and reversal of 8-bit text in the system's ANSI code page.
#include "platform/mbcs_text.h"

#include "platform/os_api.h"
#include "platform/zero_filled.h"

#include <cstring>

namespace {
// The runtime's lead-byte answer for each byte value; all false until the code page is read.
ZERO_FILLED bool g_leadBytes[256];

// Whether found, at or after a character boundary from, starts a character. Only the bytes
// that could be lead bytes right before found decide it: the byte before them cannot lead,
// so a character starts after it, and from there they pair up as lead and trail. (found is
// never the NUL, so none of them is a lead byte standing alone before the end.)
bool StartsCharacter(const char* from, const char* found) {
    const char* run = found;
    while (run > from && g_leadBytes[static_cast<unsigned char>(run[-1])])
        --run;
    return (found - run) % 2 == 0;
}
}  // namespace

void MbLoadLeadBytes() {
    for (int byte = 0; byte < 256; ++byte)
        g_leadBytes[byte] = Os().IsLeadByte(static_cast<unsigned char>(byte));
}

void MbForgetLeadBytes() {
    std::memset(g_leadBytes, 0, sizeof g_leadBytes);
}

bool MbIsLeadByte(unsigned char byte) {
    return g_leadBytes[byte];
}

int MbCharLength(const char* text) {
    if (Os().IsLeadByte(static_cast<unsigned char>(text[0])) && text[1] != '\0')
        return 2;
    return 1;
}

int MbFindChar(const char* text, char ch) {
    const char needle[2] = {ch, '\0'};
    return ch == '\0' ? -1 : MbFindString(text, needle);
}

int MbFindString(const char* text, const char* needle) {
    // The C library finds the bytes; a match on a trail byte is passed over, and the byte
    // after a trail byte starts a character, so the next search begins at a boundary again.
    for (const char* from = text;;) {
        const char* found = std::strstr(from, needle);
        if (found == nullptr)
            return -1;
        if (StartsCharacter(from, found))
            return static_cast<int>(found - text);
        from = found + 1;
    }
}

void MbReverse(char* text, int length) {
    // Walk forward to find whole characters, swapping each double-byte pair in place, then
    // reverse all bytes: the pairs come out in their original order.
    for (int i = 0; i < length;) {
        if (i + 1 < length && g_leadBytes[static_cast<unsigned char>(text[i])]) {
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
