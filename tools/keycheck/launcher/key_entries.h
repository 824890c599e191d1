// The entries of key-file text with their places, found as the launcher finds them.
//
// Thread rule: FindKeyEntries searches with the launcher's own character-wise search, so it
// runs inside a launcher run (a machine of the text's code page installed); LineAt anywhere.
#pragma once

#include <string>
#include <vector>

struct KeyEntry {
    int nameOffset;   // where the text before its "=" starts on the line
    int valueOffset;  // the value's first byte, just after the "="
    int line;         // of the value's first byte, counting line feeds from 1
    std::string name;
    std::string value;  // to the next carriage return or the end, whatever its length
};

// Every entry of text (which ends at its first NUL), found the way ParseKeyText finds them,
// but with no limit on their number or length, so that what it drops can be shown.
std::vector<KeyEntry> FindKeyEntries(const char* text);

// The line of the byte at offset, counting line feeds from 1.
int LineAt(const std::string& text, int offset);
