// An INF file read by Microsoft's general syntax rules: sections, entries, fields, strings.
#include "tools/keycheck/inf/inf_file.h"

#include "tools/keycheck/inf/inf_entry.h"
#include "tools/keycheck/inf/inf_lines.h"

#include <cstdio>

namespace {
struct RawSection {
    std::string name;
    int line;
    std::vector<const InfRawLine*> lines;
};

// Sections by name; a name met again adds its lines to the first one ("General Syntax
// Rules for INF Files", Section Names: the entries of same-named sections are merged).
// Entries before the first header are left out: Windows either ignores them or refuses the
// file, which the scan has said.
std::vector<RawSection> CutSections(const InfScan& scan, InfFile& inf) {
    std::vector<RawSection> sections;
    RawSection* current = nullptr;
    for (const InfRawLine& raw : scan.lines) {
        if (raw.header) {
            const auto found = inf.sectionIndex.emplace(InfUpper(raw.name), sections.size());
            if (found.second)
                sections.push_back(RawSection{raw.name, raw.line, {}});
            current = &sections[found.first->second];
            continue;
        }
        if (raw.unclosedQuote)
            inf.findings.push_back(InfFinding{inf.path, raw.line, "unclosed-quote",
                                              "a double quote opened here is never closed; "
                                              "Windows ends the quoted text at the line's end",
                                              true});
        if (current != nullptr)
            current->lines.push_back(&raw);
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
            for (const InfRawLine* raw : section.lines) {
                if (raw->hasKey)
                    table[InfUpper(raw->key)] = raw->fields[0];
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
    const auto found = sectionIndex.find(InfUpper(name));
    return found == sectionIndex.end() ? nullptr : &sections[found->second];
}

const std::string* InfFile::Value(const std::string& section, const std::string& key) const {
    const InfSection* found = Section(section);
    if (found == nullptr)
        return nullptr;
    const std::string wanted = InfUpper(key);
    for (const InfLine& line : found->lines) {
        if (line.hasKey && InfUpper(line.key) == wanted)
            return &line.fields[0];
    }
    return nullptr;
}

InfFile ParseInf(const std::string& path, const std::string& bytes, int language) {
    InfFile inf;
    inf.path = path;
    const InfText text = DecodeInfBytes(bytes);
    inf.encoding = text.encoding;
    if (text.encoding == InfEncoding::Ansi && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        // Windows tells a Unicode INF by the UTF-16 byte-order mark alone ("Setup API"
        // overview; "General Unicode Requirement in INF Files"), so it reads these three
        // bytes as ANSI characters at the start of the first line.
        inf.findings.push_back(InfFinding{path, 1, "utf8-bom",
                                          "the file starts with a UTF-8 byte-order mark, which "
                                          "Windows reads as three ANSI characters of its first "
                                          "line",
                                          true});
    const InfScan scan = ScanInfLines(text.text);
    if (!scan.error.code.empty()) {
        inf.openError = InfFinding{path, scan.error.line, scan.error.code, scan.error.text};
        return inf;
    }
    const std::vector<RawSection> raw = CutSections(scan, inf);
    const std::map<std::string, std::string> strings = StringTable(raw, language);

    for (const RawSection& section : raw) {
        InfSection parsed{section.name, section.line, {}};
        const bool literal = IsStringsSection(section.name);
        for (const InfRawLine* line : section.lines) {
            StringLookup lookup{&strings, {}};
            parsed.lines.push_back(ExpandInfEntry(*line, literal ? nullptr : &lookup));
            for (const std::string& token : lookup.undefined)
                inf.findings.push_back(
                    InfFinding{path, line->line, "undefined-string",
                               "%" + token + "% is defined in no [Strings] section Windows reads"});
        }
        inf.sections.push_back(parsed);
    }
    return inf;
}
