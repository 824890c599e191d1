// RegCursor: walks one line of a registry export character by character in the code page.
#pragma once

#include <cstddef>
#include <string>

// What is wrong with a line of the export, told without its file and line.
struct RegSyntaxError {
    std::string what;
};

// Walks a line character by character in the machine's code page, so that the trail byte of
// a double-byte character is never taken for a quote, bracket or backslash.
//
// Thread rule: a cursor belongs to one thread.
class RegCursor {
public:
    RegCursor(const std::string& text, int codePage) : m_text(text), m_codePage(codePage) {}

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
    int m_codePage;
    std::size_t m_at = 0;
};
