// RegCursor: walks one line of a registry export character by character in the code page.
#include "tools/keycheck/registry/reg_cursor.h"

#include "sim/ansi_names.h"

#include <cctype>

void RegCursor::Next() {
    const bool pair = IsLeadByteIn(m_codePage, static_cast<unsigned char>(m_text[m_at])) &&
                      m_at + 1 < m_text.size();
    m_at += pair ? 2 : 1;
}

bool RegCursor::Take(char c) {
    if (AtEnd() || Peek() != c)
        return false;
    Next();
    return true;
}

bool RegCursor::TakeWord(const char* word) {
    std::size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        if (m_at + i >= m_text.size() ||
            std::toupper(static_cast<unsigned char>(m_text[m_at + i])) !=
                std::toupper(static_cast<unsigned char>(word[i])))
            return false;
    }
    m_at += i;
    return true;
}

void RegCursor::SkipBlanks() {
    while (Peek() == ' ' || Peek() == '\t')
        Next();
}

void RegCursor::ExpectEnd(const char* what) {
    SkipBlanks();
    if (!AtEnd())
        throw RegSyntaxError{std::string("unexpected text after ") + what + ": \"" +
                             m_text.substr(m_at) + "\""};
}
