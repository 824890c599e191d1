// The findings about key.ini's text: every sharp edge of the format the launcher reads.
#include "tools/keycheck/lint/key_file_findings.h"

#include "device/device_id_table.h"
#include "sim/ansi_names.h"
#include "tools/keycheck/text/shown_text.h"

#include <algorithm>
#include <cstring>

namespace {
// A finding about key.ini at offset (or -1), with its line.
Finding At(Code code, const KeyFile& keyFile, int offset, const std::string& text) {
    Finding finding =
        MakeFinding(code, "key.ini", offset >= 0 ? LineAt(keyFile.text, offset) : 0, text);
    finding.offset = offset;
    return finding;
}

std::string Entry(std::size_t index) {
    return "entry #" + std::to_string(index + 1);
}

// Walked character by character in codePage: a trail byte that is a letter is no letter.
bool HasLowerCaseLetter(const std::string& value, int codePage) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (IsLeadByteIn(codePage, static_cast<unsigned char>(value[i])) && i + 1 < value.size())
            ++i;
        else if (value[i] >= 'a' && value[i] <= 'z')
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

void CheckEncoding(const KeyFile& keyFile, std::vector<Finding>& out) {
    const std::string& bytes = keyFile.bytes;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        out.push_back(At(Code::Utf16, keyFile, 0,
                         "key.ini is UTF-16 text: the launcher reads it as ANSI bytes "
                         "ending at the first NUL and finds no entry; save it as ANSI"));
        return;
    }
    const std::size_t nul = std::strlen(bytes.c_str());
    if (nul < bytes.size())
        out.push_back(At(Code::NulByte, keyFile, static_cast<int>(nul),
                         "a NUL byte ends the text the launcher reads: the " +
                             std::to_string(bytes.size() - nul) + " bytes from it on are ignored"));
}

void CheckKeptValue(const KeyFile& keyFile, std::size_t i, int codePage,
                    std::vector<Finding>& out) {
    const std::vector<std::string>& table = keyFile.table;
    const KeyEntry& entry = keyFile.entries[i];
    const std::string& value = entry.value;
    if (IsBlank(value.front()) || IsBlank(value.back()))
        out.push_back(At(Code::EdgeBlank, keyFile, entry.valueOffset,
                         Entry(i) + " \"" + Shown(value) +
                             "\" starts or ends with a blank or tab, which the launcher "
                             "keeps as part of the ID; no device key name has it there"));
    if (HasLowerCaseLetter(value, codePage))
        out.push_back(At(Code::LowerCase, keyFile, entry.valueOffset,
                         Entry(i) + " \"" + Shown(value) +
                             "\" has lower-case letters: the launcher compares case by "
                             "case and PCI key names are upper case"));
    const auto earlier = std::find(table.begin(), table.begin() + static_cast<long>(i), value);
    if (earlier != table.begin() + static_cast<long>(i))
        out.push_back(At(Code::Duplicate, keyFile, entry.valueOffset,
                         Entry(i) + " \"" + Shown(value) + "\" repeats " +
                             Entry(static_cast<std::size_t>(earlier - table.begin()))));
}

void CheckEntry(const KeyFile& keyFile, std::size_t i, int codePage, std::vector<Finding>& out) {
    const KeyEntry& entry = keyFile.entries[i];
    if (i >= static_cast<std::size_t>(kMaxDeviceIds)) {
        out.push_back(At(Code::TooMany, keyFile, entry.valueOffset,
                         Entry(i) + " \"" + Shown(entry.value) +
                             "\" is past the 40th: the launcher ignores it"));
        return;
    }
    if (IsComment(entry.name))
        out.push_back(At(Code::CommentEntry, keyFile, entry.nameOffset,
                         Entry(i) + " comes from a line starting with \";\": a comment "
                                    "holding \"=\" still gives an entry"));
    if (entry.value.find('\n') != std::string::npos)
        out.push_back(At(Code::BareLineFeed, keyFile, entry.valueOffset,
                         Entry(i) + " runs over a line feed with no carriage return before "
                                    "it: its value takes in the lines after it; save the file "
                                    "with CR LF line ends"));
    if (entry.value.size() >= static_cast<std::size_t>(kDeviceIdSize))
        out.push_back(At(Code::TooLong, keyFile, entry.valueOffset,
                         Entry(i) + " is " + std::to_string(entry.value.size()) +
                             " bytes long: the launcher takes at most " +
                             std::to_string(kDeviceIdSize - 1) +
                             ", stores it empty, and it matches nothing"));
    else if (entry.value.empty())
        out.push_back(At(Code::EmptyValue, keyFile, entry.valueOffset,
                         Entry(i) + " is empty: the launcher skips it (an empty ID "
                                    "would match every device)"));
    else
        CheckKeptValue(keyFile, i, codePage, out);
}
}  // namespace

std::vector<Finding> KeyFileFindings(const KeyFile& keyFile, int codePage) {
    std::vector<Finding> findings;
    CheckEncoding(keyFile, findings);
    if (keyFile.entries.empty())
        findings.push_back(
            At(Code::NoEntries, keyFile, -1, "key.ini gives no entry: no device can match"));
    for (std::size_t i = 0; i < keyFile.entries.size(); ++i)
        CheckEntry(keyFile, i, codePage, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
    return findings;
}
