// An INF file's text cut into section headers and entries, as Windows' INF parser cuts it.
//
// The rules are those Wine's INF parser conformance tests record for real Windows
// (dlls/setupapi/tests/parser.c in Wine's source: the invalid_files, section_names and
// key_names tables), with "General Syntax Rules for INF Files" (learn.microsoft.com/
// windows-hardware/drivers/install/general-syntax-rules-for-inf-files):
// - the character 0x1A ends the file, and a NUL byte counts as a blank;
// - a line whose first non-blank character is "[" is a section header; its name runs to the
//   first "]" on the line, blanks and all, and the rest of the line is ignored. A header
//   without its "]" or with a name over 255 characters makes Windows refuse the file;
// - lines before the first header make Windows refuse the file, unless it has a [Strings]
//   section, in which case they are ignored;
// - ";" outside double quotes starts a comment, also inside %...%;
// - the first "=" outside quotes, before any comma, ends the key;
// - blanks around unquoted text go, blanks inside it stay;
// - a double quote opens or closes quoted text anywhere in a key or field; inside quotes ""
//   is one quote; a quote never closed ends at the end of its line;
// - a backslash followed on its line only by blanks, backslashes or a comment joins the next
//   line to this one, the blanks on either side of the join dropped; any other backslash is
//   an ordinary character.
// Windows converts an ANSI INF to Unicode in the machine's ANSI code page before it cuts it
// (Wine's INF parser does the same with CP_ACP), so in a double-byte code page a lead byte
// takes the byte after it along: Shift-JIS 0x95 0x5C is one character, no backslash.
#include "tools/keycheck/inf/inf_lines.h"

#include "sim/ansi_names.h"
#include "tools/keycheck/text/ascii_case.h"

#include <string_view>

namespace {
const std::size_t kMaxSectionName = 255;
const char kEndOfFile = '\x1A';

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

// The physical lines of text up to the end-of-file character, each without its line feed.
std::vector<std::string_view> PhysicalLines(std::string_view text) {
    const std::string_view kept = text.substr(0, text.find(kEndOfFile));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = kept.find('\n', start);
        std::string_view line =
            kept.substr(start, end == std::string_view::npos ? end : end - start);
        // The CR of a CR LF line end belongs to the end, also where it closes an open quote.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

// A key or field as it is built: blanks outside quotes are held back until something follows.
class Field {
public:
    void Blank(char c) {
        if (m_started)
            m_blanks += c == '\0' ? ' ' : c;
    }
    void Add(char c) {
        m_text += m_blanks;
        m_blanks.clear();
        m_text += c;
        m_started = true;
    }
    void OpenQuote() {
        m_text += m_blanks;
        m_blanks.clear();
        m_started = true;
    }
    void AddQuoted(char c) { m_text += c == '\0' ? ' ' : c; }
    // Characters without a meaning to the cut, outside quotes and inside.
    void AddRun(std::string_view run) {
        m_text += m_blanks;
        m_blanks.clear();
        m_text += run;
        m_started = true;
    }
    void AddQuotedRun(std::string_view run) { m_text += run; }
    void DropBlanks() { m_blanks.clear(); }
    std::string Take() {
        std::string text = std::move(m_text);
        *this = Field();
        return text;
    }

private:
    std::string m_text;
    std::string m_blanks;
    bool m_started = false;
};

// Where the characters from line[at] on that the cut passes over unchanged end: ASCII other
// than quotes and, outside quotes, blanks and the separators.
std::size_t PlainRunEnd(std::string_view line, std::size_t at, bool quoted) {
    for (; at < line.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(line[at]);
        if (c >= 0x80 || c == '"' || c == '\0')
            break;
        if (!quoted && (c <= ' ' || c == ';' || c == ',' || c == '=' || c == '\\'))
            break;
    }
    return at;
}

// Whether the backslash at line[at] joins the next line: only blanks, backslashes or a
// comment follow it.
bool Continues(std::string_view line, std::size_t at) {
    for (std::size_t i = at + 1; i < line.size(); ++i) {
        if (line[i] == ';')
            return true;
        if (line[i] != '\\' && !Blank(line[i]))
            return false;
    }
    return true;
}

class Scanner {
public:
    Scanner(const std::string& text, int codePage)
        : m_lines(PhysicalLines(text)), m_codePage(codePage) {}

    InfScan Run() {
        m_scan.lines.reserve(m_lines.size());
        bool strings = false;
        int firstStray = 0;
        for (m_row = 0; m_row < m_lines.size(); ++m_row) {
            const std::string_view line = m_lines[m_row];
            std::size_t at = 0;
            while (at < line.size() && Blank(line[at]))
                ++at;
            if (at == line.size() || line[at] == ';')
                continue;
            const int number = static_cast<int>(m_row) + 1;
            if (line[at] == '[') {
                if (!Header(line, at, number))
                    return std::move(m_scan);
                strings = strings || AsciiUpper(m_scan.lines.back().name) == "STRINGS";
                m_inSection = true;
                continue;
            }
            if (!m_inSection && firstStray == 0)
                firstStray = number;
            Entry(at, number);
        }
        if (firstStray != 0 && !strings)
            m_scan.error = InfOpenError{true, Code::OutsideSection, firstStray,
                                        "text before the first section header, which Windows "
                                        "refuses in a file without a [Strings] section"};
        return std::move(m_scan);
    }

private:
    // The length in bytes of the double-byte character at line[at], or 0 when none starts
    // there: an ANSI byte is one Latin-1 character, C2 or C3 and one byte in UTF-8, and a
    // lead byte's partner is the next character, when it can trail (0x40 and above).
    std::size_t PairAt(std::string_view line, std::size_t at) const {
        const auto byte = [&line](std::size_t i, std::size_t* length) -> int {
            if (i >= line.size())
                return -1;
            const unsigned char c = static_cast<unsigned char>(line[i]);
            *length = 1;
            if (c < 0x80)
                return c;
            if ((c != 0xC2 && c != 0xC3) || i + 1 >= line.size())
                return -1;
            *length = 2;
            return ((c & 0x1F) << 6) | (static_cast<unsigned char>(line[i + 1]) & 0x3F);
        };
        std::size_t leadLength = 0, trailLength = 0;
        const int lead = byte(at, &leadLength);
        if (lead < 0x80 || !IsLeadByteIn(m_codePage, static_cast<unsigned char>(lead)))
            return 0;
        const int trail = byte(at + leadLength, &trailLength);
        return trail >= 0x40 ? leadLength + trailLength : 0;
    }

    // Where the first character c at or after from stands, passing over double-byte ones.
    std::size_t FindCharacter(std::string_view line, std::size_t from, char c) const {
        for (std::size_t at = from; at < line.size();) {
            if (const std::size_t pair = PairAt(line, at)) {
                at += pair;
                continue;
            }
            if (line[at] == c)
                return at;
            ++at;
        }
        return std::string::npos;
    }

    bool Header(std::string_view line, std::size_t at, int number) {
        const std::size_t close = FindCharacter(line, at + 1, ']');
        if (close == std::string::npos) {
            m_scan.error = InfOpenError{true, Code::BadSectionLine, number,
                                        "a section header without its closing ]: Windows "
                                        "refuses the file"};
            return false;
        }
        const std::string name(line.substr(at + 1, close - at - 1));
        if (name.size() > kMaxSectionName) {
            m_scan.error = InfOpenError{true, Code::SectionNameTooLong, number,
                                        "a section name of more than 255 characters: Windows "
                                        "refuses the file"};
            return false;
        }
        InfRawLine header;
        header.line = number;
        header.header = true;
        header.name = name;
        m_scan.lines.push_back(std::move(header));
        return true;
    }

    // Reads the entry starting at m_lines[m_row][at]; leaves m_row on its last physical line.
    void Entry(std::size_t at, int number) {
        InfRawLine entry;
        entry.line = number;
        entry.fields.reserve(4);
        Field field;
        bool quoted = false;
        for (;;) {
            const std::string_view line = m_lines[m_row];
            if (at >= line.size()) {
                // A quote never closed ends with its line.
                entry.unclosedQuote = entry.unclosedQuote || quoted;
                break;
            }
            if (const std::size_t end = PlainRunEnd(line, at, quoted); end != at) {
                const std::string_view run = line.substr(at, end - at);
                quoted ? field.AddQuotedRun(run) : field.AddRun(run);
                at = end;
                continue;
            }
            if (const std::size_t pair = PairAt(line, at)) {
                for (std::size_t end = at + pair; at < end; ++at)
                    quoted ? field.AddQuoted(line[at]) : field.Add(line[at]);
                continue;
            }
            const char c = line[at++];
            if (quoted) {
                if (c != '"')
                    field.AddQuoted(c);
                else if (at < line.size() && line[at] == '"')
                    field.AddQuoted(line[at++]);
                else
                    quoted = false;
            } else if (c == '"') {
                field.OpenQuote();
                quoted = true;
            } else if (c == ';') {
                break;
            } else if (c == ',') {
                entry.fields.push_back(field.Take());
            } else if (c == '=' && !entry.hasKey && entry.fields.empty()) {
                entry.hasKey = true;
                entry.key = field.Take();
            } else if (c == '\\' && Continues(line, at - 1)) {
                field.DropBlanks();
                if (++m_row == m_lines.size()) {
                    --m_row;
                    break;
                }
                at = 0;
                while (at < m_lines[m_row].size() && Blank(m_lines[m_row][at]))
                    ++at;
            } else if (Blank(c)) {
                field.Blank(c);
            } else {
                field.Add(c);
            }
        }
        entry.fields.push_back(field.Take());
        m_scan.lines.push_back(std::move(entry));
    }

    std::vector<std::string_view> m_lines;
    int m_codePage;
    std::size_t m_row = 0;
    bool m_inSection = false;
    InfScan m_scan;
};
}  // namespace

InfScan ScanInfLines(const std::string& text, int codePage) {
    return Scanner(text, codePage).Run();
}
