// One logical INF line cut into its key and comma-separated fields.
#include "tools/keycheck/inf/inf_entry.h"

#include "tools/keycheck/inf/inf_text.h"

namespace {
// A field as it is built: blanks outside quotes count only between other characters.
class FieldBuilder {
public:
    void Add(char c, bool kept) {
        if (!kept && (c == ' ' || c == '\t')) {
            if (!m_text.empty())
                m_text += c;
            return;
        }
        m_text += c;
        m_keptLength = m_text.size();
    }
    void AddKept(const std::string& text) {
        m_text += text;
        m_keptLength = m_text.size();
    }
    std::string Take() {
        std::string field = m_text.substr(0, m_keptLength);
        m_text.clear();
        m_keptLength = 0;
        return field;
    }

private:
    std::string m_text;
    std::size_t m_keptLength = 0;
};

// Replaces the token starting at text[at] (a "%") and returns the index after it. The value
// put in is not searched for tokens again: Windows does not expand strings recursively.
std::size_t AddToken(const std::string& text, std::size_t at, StringLookup& strings,
                     FieldBuilder& field) {
    const std::size_t close = text.find('%', at + 1);
    if (close == std::string::npos) {
        field.Add('%', true);
        return at + 1;
    }
    // "%%" stands for one percent sign ("INF Strings Section").
    if (close == at + 1) {
        field.Add('%', true);
        return close + 1;
    }
    const std::string token = text.substr(at + 1, close - at - 1);
    // A number between percent signs is a directory ID, such as %12% for the drivers folder,
    // which Windows resolves when it installs ("Using Dirids").
    if (token.find_first_not_of("0123456789") == std::string::npos) {
        field.AddKept("%" + token + "%");
        return close + 1;
    }
    const auto found = strings.table->find(InfUpper(token));
    if (found == strings.table->end()) {
        strings.undefined.push_back(token);
        field.AddKept("%" + token + "%");
    } else {
        field.AddKept(found->second);
    }
    return close + 1;
}
}  // namespace

InfLine ParseInfEntry(const InfRawLine& raw, StringLookup* strings) {
    InfLine entry{raw.line, false, {}, {}};
    const std::string& text = raw.text;
    FieldBuilder field;
    bool quoted = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '"') {
            // Inside quotes, two double quotes stand for one ("INF Strings Section").
            if (quoted && at + 1 < text.size() && text[at + 1] == '"') {
                field.Add('"', true);
                at += 2;
                continue;
            }
            quoted = !quoted;
            if (quoted)
                field.AddKept("");
        } else if (c == '%' && strings != nullptr) {
            at = AddToken(text, at, *strings, field);
            continue;
        } else if (c == '=' && !quoted && !entry.hasKey && entry.fields.empty()) {
            entry.hasKey = true;
            entry.key = field.Take();
        } else if (c == ',' && !quoted) {
            entry.fields.push_back(field.Take());
        } else {
            field.Add(c, quoted);
        }
        ++at;
    }
    entry.fields.push_back(field.Take());
    return entry;
}
