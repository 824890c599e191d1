// An entry's %strkey% tokens replaced from the [Strings] sections Windows reads.
//
// Windows replaces tokens after it has removed the quotes and comments, so "%f"o"o%" is the
// token foo and "%bar;x%" is the text "%bar" (Wine's INF parser conformance tests, key_names
// table, dlls/setupapi/tests/parser.c in Wine's source). A token without its closing "%"
// stays as written; a value put in is not searched for tokens again.
#include "tools/keycheck/inf/inf_entry.h"

#include "tools/keycheck/text/ascii_case.h"

namespace {
void Expand(std::string& text, StringLookup& strings) {
    if (text.find('%') == std::string::npos)
        return;
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out.append(text, at, std::string::npos);
            break;
        }
        out.append(text, at, open - at);
        at = close + 1;
        const std::string token = text.substr(open + 1, close - open - 1);
        // "%%" stands for one percent sign ("INF Strings Section").
        if (token.empty()) {
            out += '%';
            continue;
        }
        // A number between percent signs is a directory ID, such as %12% for the drivers
        // folder, which Windows resolves when it installs ("Using Dirids").
        if (token.find_first_not_of("0123456789") == std::string::npos) {
            out.append(text, open, close + 1 - open);
            continue;
        }
        const auto found = strings.table->find(AsciiUpper(token));
        if (found == strings.table->end()) {
            strings.undefined.push_back(token);
            out.append(text, open, close + 1 - open);
        } else {
            out += found->second;
        }
    }
    text = std::move(out);
}
}  // namespace

InfLine ExpandInfEntry(InfRawLine&& raw, StringLookup* strings) {
    InfLine entry{raw.line, raw.hasKey, std::move(raw.key), std::move(raw.fields)};
    if (strings == nullptr)
        return entry;
    Expand(entry.key, *strings);
    for (std::string& field : entry.fields)
        Expand(field, *strings);
    return entry;
}
