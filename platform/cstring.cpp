// CString: the launcher's variable-length 8-bit string in the system's ANSI code page.
#include "platform/cstring.h"

#include "platform/mbcs_text.h"
#include "platform/os_api.h"

#include <cstring>

namespace {
char g_emptyText[1] = {'\0'};

// Text storage comes from the runtime heap; when it is exhausted the launcher cannot go on
// with a cut-down path or command line, so it ends the way every refusal does.
char* AllocateText(int length) {
    char* block = static_cast<char*>(Os().TextAlloc(static_cast<std::uint32_t>(length) + 1));
    if (block == nullptr)
        Os().ExitProcess(0);
    return block;
}
}  // namespace

CString::CString() : m_pchData(g_emptyText), m_nLength(0) {}

CString::CString(const char* text) : CString() {
    Assign(text, static_cast<int>(std::strlen(text)));
}

CString::CString(const char* bytes, int length) : CString() {
    Assign(bytes, length);
}

CString::CString(const CString& other) : CString() {
    Assign(other.m_pchData, other.m_nLength);
}

CString::~CString() {
    Empty();
}

CString& CString::operator=(const char* text) {
    Assign(text, static_cast<int>(std::strlen(text)));
    return *this;
}

CString& CString::operator=(const CString& other) {
    if (this != &other)
        Assign(other.m_pchData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(const char* text) {
    Append(text, static_cast<int>(std::strlen(text)));
    return *this;
}

CString& CString::operator+=(const CString& other) {
    Append(other.m_pchData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

void CString::Empty() {
    if (m_pchData != g_emptyText)
        Os().TextFree(m_pchData);
    m_pchData = g_emptyText;
    m_nLength = 0;
}

void CString::Truncate(int length) {
    if (length < 0 || length >= m_nLength)
        return;
    m_pchData[length] = '\0';
    m_nLength = length;
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= m_nLength)
        return -1;
    const int found = MbFindChar(m_pchData + start, ch);
    return found < 0 ? -1 : start + found;
}

int CString::Find(const char* text, int start) const {
    if (start < 0 || start >= m_nLength)
        return -1;
    const int found = MbFindString(m_pchData + start, text);
    return found < 0 ? -1 : start + found;
}

int CString::ReverseFind(char ch) const {
    CString reversed(*this);
    reversed.MakeReverse();
    const int fromEnd = reversed.Find(ch);
    return fromEnd < 0 ? -1 : m_nLength - 1 - fromEnd;
}

void CString::MakeReverse() {
    MbReverse(m_pchData, m_nLength);
}

void CString::Assign(const char* bytes, int length) {
    char* block = AllocateText(length);
    std::memcpy(block, bytes, static_cast<std::size_t>(length));
    block[length] = '\0';
    Empty();
    m_pchData = block;
    m_nLength = length;
}

void CString::Append(const char* bytes, int length) {
    char* block = AllocateText(m_nLength + length);
    std::memcpy(block, m_pchData, static_cast<std::size_t>(m_nLength));
    std::memcpy(block + m_nLength, bytes, static_cast<std::size_t>(length));
    block[m_nLength + length] = '\0';
    const int newLength = m_nLength + length;
    Empty();
    m_pchData = block;
    m_nLength = newLength;
}
