// The entries of key-file text with their places, found as the launcher finds them.
#include "tools/keycheck/launcher/key_entries.h"

#include "platform/mbcs_text.h"

#include <algorithm>

std::vector<KeyEntry> FindKeyEntries(const char* text) {
    std::vector<KeyEntry> entries;
    const std::string all(text);
    int position = 0;
    for (;;) {
        const int found = MbFindChar(text + position, '=');
        if (found < 0)
            break;
        const int equals = position + found;
        const int valueOffset = equals + 1;
        int end = valueOffset;
        while (text[end] != '\0' && text[end] != '\r')
            ++end;
        int nameOffset = position;
        for (int i = position; i < equals; ++i) {
            if (text[i] == '\r' || text[i] == '\n')
                nameOffset = i + 1;
        }
        entries.push_back(KeyEntry{nameOffset, valueOffset, LineAt(all, valueOffset),
                                   all.substr(nameOffset, equals - nameOffset),
                                   all.substr(valueOffset, end - valueOffset)});
        position = end;
    }
    return entries;
}

int LineAt(const std::string& text, int offset) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}
