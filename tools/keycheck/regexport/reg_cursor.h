// RegCursor: walks one line of a registry export character by character in the code page.
#pragma once

#include <cstddef>
#include <string>

class CFakeOs;

// What is wrong with a line of the export, told without its file and line.
struct RegSyntaxError {
    std::string what;
};

// Walks a line character by character in the machine's code page, so that the trail byte of
// a double-byte character is never taken for a quote, bracket or backslash.
class RegCursor {
public:
    RegCursor(const std::string& text, CFakeOs& machine) : m_text(text), m_machine(machine) {}

    const std::string& Text() const { return m_text; }
    bool AtEnd() const { return m_at >= m_text.size(); }
    // The current character's first byte, or NUL at the end; never an ASCII character when
    // it starts a double-byte character.
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    std::size_t Position() const { return m_at; }
    void Next();
    // Takes the character c if it comes next.
    bool Take(char c);
    // Takes word if the text goes on with it, without regard to ASCII case.
    bool TakeWord(const char* word);
    void SkipBlanks();
    // Throws unless only blanks are left; what names the thing they would follow.
    void ExpectEnd(const char* what);

private:
    const std::string& m_text;
    CFakeOs& m_machine;
    std::size_t m_at = 0;
};
