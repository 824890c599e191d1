// Names compared without regard to ASCII case.
#include "tools/keycheck/text/ascii_case.h"

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}
