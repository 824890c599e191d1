// An INF file's text cut into logical lines: comments dropped, continued lines joined.
#include "tools/keycheck/inf/inf_lines.h"

namespace {
bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The physical line without its comment: a ";" starts one only outside double quotes, so
// a quoted string may hold it ("General Syntax Rules for INF Files", Line Format,
// Continuation, and Comments; learn.microsoft.com/windows-hardware/drivers/install/
// general-syntax-rules-for-inf-files). quoted tells whether a quoted string is open at the
// line's start, and is left telling whether one is open at its end.
std::string WithoutComment(std::string physical, bool& quoted) {
    if (!physical.empty() && physical.back() == '\r')
        physical.pop_back();
    std::size_t end = 0;
    for (; end < physical.size(); ++end) {
        if (physical[end] == '"')
            quoted = !quoted;
        else if (physical[end] == ';' && !quoted)
            break;
    }
    while (!quoted && end > 0 && Blank(physical[end - 1]))
        --end;
    return physical.substr(0, end);
}
}  // namespace

std::vector<InfRawLine> JoinInfLines(const std::string& text) {
    std::vector<InfRawLine> lines;
    InfRawLine pending{0, {}};
    bool continuing = false;
    bool quoted = false;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++number;
        std::string part = WithoutComment(text.substr(start, end - start), quoted);
        start = end + 1;

        if (!continuing)
            pending = InfRawLine{number, {}};
        // A quoted string runs on over the line's end, so that a long string wrapped by an
        // editor is not cut there ("INF Strings Section"); the break counts as one blank.
        if (quoted) {
            pending.text += part + " ";
            continuing = true;
            continue;
        }
        // A backslash ending the line (after its comment is gone, outside quotes) joins the
        // next line to it; a string that must end in a backslash is quoted for this reason
        // ("INF Strings Section").
        continuing = !part.empty() && part.back() == '\\';
        if (continuing)
            part.pop_back();
        pending.text += part;
        if (!continuing && pending.text.find_first_not_of(" \t") != std::string::npos)
            lines.push_back(pending);
    }
    if (continuing && pending.text.find_first_not_of(" \t") != std::string::npos) {
        pending.unclosedQuote = quoted;
        lines.push_back(pending);
    }
    return lines;
}
