// CString: the launcher's variable-length 8-bit string in the system's ANSI code page.
//
// Positions and lengths count bytes. Find and MakeReverse work character by character, so a
// double-byte character is one character and its trail byte never matches a search.
#pragma once

class CString {
public:
    CString();
    CString(const char* text);  // NOLINT(google-explicit-constructor): framework style
    CString(const char* bytes, int length);
    CString(const CString& other);
    ~CString();

    CString& operator=(const char* text);
    CString& operator=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(char ch);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    // Keeps the first length bytes; a length outside 0..GetLength() leaves the string as is.
    void Truncate(int length);

    // Byte position of the first match at or after start, or -1. A start at or past the end
    // fails; start must lie on a character boundary.
    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    // Byte position of the last character equal to ch, or -1: the first match in the reversed
    // text, so that a double-byte character whose trail byte equals ch is never taken for it.
    int ReverseFind(char ch) const;
    void MakeReverse();

    operator const char*() const { return m_pchData; }  // NOLINT: framework style

private:
    void Assign(const char* bytes, int length);
    void Append(const char* bytes, int length);

    char* m_pchData;
    int m_nLength;
};
