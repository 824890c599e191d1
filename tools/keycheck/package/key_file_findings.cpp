// The findings about key.ini's text: every sharp edge of the format the launcher reads.
#include "tools/keycheck/package/key_file_findings.h"

#include "device/device_id_table.h"
#include "platform/mbcs_text.h"
#include "tools/keycheck/text/shown_text.h"

#include <algorithm>
#include <cstring>

namespace {
std::string Entry(std::size_t index) {
    return "entry #" + std::to_string(index + 1);
}

bool HasLowerCaseLetter(const std::string& value) {
    for (const char* p = value.c_str(); *p != '\0'; p += MbCharLength(p)) {
        if (MbCharLength(p) == 1 && *p >= 'a' && *p <= 'z')
            return true;
    }
    return false;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsComment(const std::string& name) {
    const std::size_t first = name.find_first_not_of(" \t");
    return first != std::string::npos && name[first] == ';';
}

void CheckEncoding(const std::string& bytes, std::vector<LintFinding>& out) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        out.push_back(LintFinding{"utf16", 0,
                                  "key.ini is UTF-16 text: the launcher reads it as ANSI bytes "
                                  "ending at the first NUL and finds no entry; save it as ANSI"});
        return;
    }
    const std::size_t nul = std::strlen(bytes.c_str());
    if (nul < bytes.size())
        out.push_back(LintFinding{"nul-byte", static_cast<int>(nul),
                                  "a NUL byte ends the text the launcher reads: the " +
                                      std::to_string(bytes.size() - nul) +
                                      " bytes from it on are ignored"});
}

void CheckKeptValue(const std::vector<KeyEntry>& entries, std::size_t i,
                    const std::vector<std::string>& table, std::vector<LintFinding>& out) {
    const KeyEntry& entry = entries[i];
    const std::string& value = entry.value;
    if (IsBlank(value.front()) || IsBlank(value.back()))
        out.push_back(LintFinding{"edge-blank", entry.valueOffset,
                                  Entry(i) + " \"" + Shown(value) +
                                      "\" starts or ends with a blank or tab, which the launcher "
                                      "keeps as part of the ID; no device key name has it there"});
    if (HasLowerCaseLetter(value))
        out.push_back(LintFinding{"lower-case", entry.valueOffset,
                                  Entry(i) + " \"" + Shown(value) +
                                      "\" has lower-case letters: the launcher compares case by "
                                      "case and PCI key names are upper case"});
    const auto earlier = std::find(table.begin(), table.begin() + static_cast<long>(i), value);
    if (earlier != table.begin() + static_cast<long>(i))
        out.push_back(LintFinding{"duplicate", entry.valueOffset,
                                  Entry(i) + " \"" + Shown(value) + "\" repeats " +
                                      Entry(static_cast<std::size_t>(earlier - table.begin()))});
}

void CheckEntry(const std::vector<KeyEntry>& entries, std::size_t i,
                const std::vector<std::string>& table, std::vector<LintFinding>& out) {
    const KeyEntry& entry = entries[i];
    if (i >= static_cast<std::size_t>(kMaxDeviceIds)) {
        out.push_back(LintFinding{"too-many", entry.valueOffset,
                                  Entry(i) + " \"" + Shown(entry.value) +
                                      "\" is past the 40th: the launcher ignores it"});
        return;
    }
    if (IsComment(entry.name))
        out.push_back(LintFinding{"comment-entry", entry.nameOffset,
                                  Entry(i) + " comes from a line starting with \";\": a comment "
                                             "holding \"=\" still gives an entry"});
    if (entry.value.find('\n') != std::string::npos)
        out.push_back(LintFinding{"bare-line-feed", entry.valueOffset,
                                  Entry(i) +
                                      " runs over a line feed with no carriage return before "
                                      "it: its value takes in the lines after it; save the file "
                                      "with CR LF line ends"});
    if (entry.value.size() >= static_cast<std::size_t>(kDeviceIdSize))
        out.push_back(LintFinding{"too-long", entry.valueOffset,
                                  Entry(i) + " is " + std::to_string(entry.value.size()) +
                                      " bytes long: the launcher takes at most " +
                                      std::to_string(kDeviceIdSize - 1) +
                                      ", stores it empty, and it matches nothing"});
    else if (entry.value.empty())
        out.push_back(LintFinding{"empty-value", entry.valueOffset,
                                  Entry(i) + " is empty: the launcher skips it (an empty ID "
                                             "would match every device)"});
    else
        CheckKeptValue(entries, i, table, out);
}
}  // namespace

std::vector<LintFinding> KeyFileFindings(const std::string& bytes,
                                         const std::vector<KeyEntry>& entries,
                                         const std::vector<std::string>& table) {
    std::vector<LintFinding> findings;
    CheckEncoding(bytes, findings);
    if (entries.empty())
        findings.push_back(
            LintFinding{"no-entries", -1, "key.ini gives no entry: no device can match"});
    for (std::size_t i = 0; i < entries.size(); ++i)
        CheckEntry(entries, i, table, findings);
    std::stable_sort(
        findings.begin(), findings.end(),
        [](const LintFinding& a, const LintFinding& b) { return a.offset < b.offset; });
    return findings;
}
