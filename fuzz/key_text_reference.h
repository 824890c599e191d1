// A deliberately plain second reading of the key-file format, to check the launcher's parser.
#pragma once

#include "sim/ansi_names.h"
#include "sim/fake_os.h"

#include <string>
#include <vector>

// The entries the launcher keeps from text (raw file bytes): every "=" found character by
// character starts an entry running to the next CR or the end; the text ends at its first
// NUL; values over 39 bytes are kept empty; only the first 40 entries count.
inline std::vector<std::string> ReferenceKeyEntries(const std::string& bytes, CFakeOs& os) {
    const std::string text = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> entries;
    std::size_t at = 0;
    while (entries.size() < 40) {
        std::size_t equals = std::string::npos;
        for (std::size_t i = at; i < text.size();) {
            if (text[i] == '=') {
                equals = i;
                break;
            }
            const bool pair =
                os.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
            i += pair ? 2 : 1;
        }
        if (equals == std::string::npos)
            break;
        std::size_t end = text.find('\r', equals + 1);
        if (end == std::string::npos)
            end = text.size();
        const std::string value = text.substr(equals + 1, end - equals - 1);
        entries.push_back(value.size() <= 39 ? value : std::string());
        at = end;
    }
    return entries;
}

inline int FuzzCodePage(unsigned char selector) {
    return kAnsiCodePages[selector % (sizeof kAnsiCodePages / sizeof kAnsiCodePages[0])];
}
