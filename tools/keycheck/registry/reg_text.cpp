// The lines of a registry export, whatever its file's encoding, as text in the ANSI code page.
#include "tools/keycheck/registry/reg_text.h"

#include "tools/keycheck/text/code_page.h"

namespace {
const char* const kUtf16Mark = "\xFF\xFE";
const char* const kUtf8Mark = "\xEF\xBB\xBF";
}  // namespace

RegLineReader::RegLineReader(const std::string& bytes, int codePage)
    : m_bytes(bytes), m_codePage(codePage) {
    if (bytes.compare(0, 2, kUtf16Mark) == 0) {
        m_encoding = RegFileEncoding::Utf16;
        m_at = 2;
        m_unitSize = 2;
    } else if (bytes.compare(0, 3, kUtf8Mark) == 0) {
        m_encoding = RegFileEncoding::Utf8;
        m_at = 3;
    }
}

bool RegLineReader::Next(RegLine& line) {
    if (m_done)
        return false;
    std::size_t end = m_at;
    while (end + m_unitSize <= m_bytes.size() &&
           !(m_bytes[end] == '\n' && (m_unitSize == 1 || m_bytes[end + 1] == '\0')))
        end += m_unitSize;
    const bool last = end + m_unitSize > m_bytes.size();
    std::string text = m_bytes.substr(m_at, (last ? m_bytes.size() : end) - m_at);
    m_at = end + m_unitSize;
    m_done = last;

    line = RegLine{++m_number, std::string(), 0};
    if (m_encoding == RegFileEncoding::Ansi) {
        line.text = std::move(text);
    } else {
        if (m_encoding == RegFileEncoding::Utf8)
            text = Utf8ToUtf16(text);
        line.text = Utf16ToCodePage(text, m_codePage, &line.unconvertible);
    }
    if (!line.text.empty() && line.text.back() == '\r')
        line.text.pop_back();
    return true;
}
