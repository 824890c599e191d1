// An INF file read by Microsoft's general syntax rules: sections, entries, fields, strings.
#include "tools/keycheck/inf/inf_file.h"

#include "tools/keycheck/inf/inf_entry.h"
#include "tools/keycheck/inf/inf_lines.h"

#include <cstdio>

namespace {
struct RawSection {
    std::string name;
    int line;
    std::vector<InfRawLine> lines;
};

// Sections by name; a name met again adds its lines to the first one ("General Syntax
// Rules for INF Files", Section Names: the entries of same-named sections are merged).
std::vector<RawSection> CutSections(const std::vector<InfRawLine>& lines, InfFile& inf) {
    std::vector<RawSection> sections;
    std::map<std::string, std::size_t> byName;
    RawSection* current = nullptr;
    for (const InfRawLine& raw : lines) {
        if (raw.unclosedQuote)
            inf.findings.push_back(InfFinding{inf.path, raw.line, "unclosed-quote",
                                              "a double quote opened here is never closed, so "
                                              "the rest of the file belongs to this line"});
        const std::size_t first = raw.text.find_first_not_of(" \t");
        if (raw.text[first] == '[') {
            const std::size_t close = raw.text.find(']', first);
            std::string name = raw.text.substr(
                first + 1, close == std::string::npos ? std::string::npos : close - first - 1);
            name = name.substr(0, name.find_last_not_of(" \t") + 1);
            name = name.substr(std::min(name.size(), name.find_first_not_of(" \t")));
            const auto found = byName.emplace(InfUpper(name), sections.size());
            if (found.second)
                sections.push_back(RawSection{name, raw.line, {}});
            current = &sections[found.first->second];
            continue;
        }
        if (current == nullptr) {
            inf.findings.push_back(InfFinding{inf.path, raw.line, "outside-section",
                                              "an entry before the first section header, "
                                              "which Windows ignores"});
            continue;
        }
        current->lines.push_back(raw);
    }
    return sections;
}

// Every string key of [Strings], overridden by those of [Strings.LanguageID] for language:
// Windows takes the language-specific section for its own locale and [Strings] for what
// that does not define ("INF Strings Section").
std::map<std::string, std::string> StringTable(const std::vector<RawSection>& sections,
                                               int language) {
    char localName[16];
    std::snprintf(localName, sizeof localName, "STRINGS.%04X", static_cast<unsigned>(language));
    std::map<std::string, std::string> table;
    for (const char* wanted : {"STRINGS", static_cast<const char*>(localName)}) {
        for (const RawSection& section : sections) {
            if (InfUpper(section.name) != wanted)
                continue;
            for (const InfRawLine& raw : section.lines) {
                const InfLine entry = ParseInfEntry(raw, nullptr);
                if (entry.hasKey)
                    table[InfUpper(entry.key)] = entry.fields.empty() ? "" : entry.fields[0];
            }
        }
    }
    return table;
}

bool IsStringsSection(const std::string& name) {
    const std::string upper = InfUpper(name);
    return upper == "STRINGS" || upper.compare(0, 8, "STRINGS.") == 0;
}
}  // namespace

const InfSection* InfFile::Section(const std::string& name) const {
    const std::string wanted = InfUpper(name);
    for (const InfSection& section : sections) {
        if (InfUpper(section.name) == wanted)
            return &section;
    }
    return nullptr;
}

const std::string* InfFile::Value(const std::string& section, const std::string& key) const {
    const InfSection* found = Section(section);
    if (found == nullptr)
        return nullptr;
    const std::string wanted = InfUpper(key);
    for (const InfLine& line : found->lines) {
        if (line.hasKey && InfUpper(line.key) == wanted && !line.fields.empty())
            return &line.fields[0];
    }
    return nullptr;
}

InfFile ParseInf(const std::string& path, const std::string& bytes, int language) {
    InfFile inf;
    inf.path = path;
    const InfText text = DecodeInfBytes(bytes);
    inf.encoding = text.encoding;
    const std::vector<RawSection> raw = CutSections(JoinInfLines(text.utf8), inf);
    const std::map<std::string, std::string> strings = StringTable(raw, language);

    for (const RawSection& section : raw) {
        InfSection parsed{section.name, section.line, {}};
        const bool literal = IsStringsSection(section.name);
        for (const InfRawLine& line : section.lines) {
            StringLookup lookup{&strings, {}};
            parsed.lines.push_back(ParseInfEntry(line, literal ? nullptr : &lookup));
            for (const std::string& token : lookup.undefined)
                inf.findings.push_back(
                    InfFinding{path, line.line, "undefined-string",
                               "%" + token + "% is defined in no [Strings] section Windows reads"});
        }
        inf.sections.push_back(parsed);
    }
    return inf;
}
