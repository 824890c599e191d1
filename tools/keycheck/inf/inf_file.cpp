// An INF file read by Microsoft's general syntax rules: sections, entries, fields, strings.
#include "tools/keycheck/inf/inf_file.h"

#include "tools/keycheck/inf/inf_entry.h"
#include "tools/keycheck/inf/inf_lines.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <cstdio>

namespace {
struct RawSection {
    std::string name;
    int line;
    std::vector<InfRawLine*> lines;
};

// Sections by name; a name met again adds its lines to the first one ("General Syntax
// Rules for INF Files", Section Names: the entries of same-named sections are merged).
// Entries before the first header are left out: Windows either ignores them or refuses the
// file, which the scan has said.
std::vector<RawSection> CutSections(InfScan& scan, InfFile& inf) {
    std::vector<RawSection> sections;
    RawSection* current = nullptr;
    for (InfRawLine& raw : scan.lines) {
        if (raw.header) {
            const auto found = inf.sectionIndex.emplace(AsciiUpper(raw.name), sections.size());
            if (found.second)
                sections.push_back(RawSection{raw.name, raw.line, {}});
            current = &sections[found.first->second];
            continue;
        }
        if (raw.unclosedQuote) {
            Finding finding = MakeFinding(Code::UnclosedQuote, inf.path, raw.line,
                                          "a double quote opened here is never closed; Windows "
                                          "ends the quoted text at the line's end");
            finding.section = current == nullptr ? "" : current->name;
            inf.findings.push_back(finding);
        }
        if (current != nullptr)
            current->lines.push_back(&raw);
    }
    return sections;
}

// The cut sections stand in the order of inf's section index.
const RawSection* SectionNamed(const std::vector<RawSection>& sections, const InfFile& inf,
                               const std::string& upper) {
    const auto found = inf.sectionIndex.find(upper);
    return found == inf.sectionIndex.end() ? nullptr : &sections[found->second];
}

// Every string key of [Strings], overridden by those of the [Strings.LanguageID] that best
// matches language: the exact language ID, else its primary language alone (000C for every
// French), as the setup functions match GetThreadLocale's answer ("INF Strings Section";
// SetupAPI's Strings page, new in NT 4.0 SP3). Windows 9x's loader is not documented there;
// keycheck reads the same sections for all four versions. The sections read go to read, the
// language's first.
StringTable StringsRead(const std::vector<RawSection>& sections, int language, InfFile& inf) {
    std::vector<std::string>& read = inf.stringsRead;
    const RawSection* local = nullptr;
    for (int id : {language, language & 0x3FF}) {
        char name[16];
        std::snprintf(name, sizeof name, "STRINGS.%04X", static_cast<unsigned>(id));
        if (local == nullptr)
            local = SectionNamed(sections, inf, name);
    }
    StringTable table;
    for (const RawSection* section : {SectionNamed(sections, inf, "STRINGS"), local}) {
        if (section == nullptr)
            continue;
        read.insert(section == local ? read.begin() : read.end(), section->name);
        for (const InfRawLine* raw : section->lines) {
            if (raw->hasKey)
                table[AsciiUpper(raw->key)] = raw->fields[0];
        }
    }
    return table;
}

bool IsStringsSection(const std::string& name) {
    const std::string upper = AsciiUpper(name);
    return upper == "STRINGS" || upper.compare(0, 8, "STRINGS.") == 0;
}
}  // namespace

const InfSection* InfFile::Section(const std::string& name) const {
    const auto found = sectionIndex.find(AsciiUpper(name));
    return found == sectionIndex.end() ? nullptr : &sections[found->second];
}

const std::string* InfFile::Value(const std::string& section, const std::string& key) const {
    const InfSection* found = Section(section);
    if (found == nullptr)
        return nullptr;
    const std::string wanted = AsciiUpper(key);
    for (const InfLine& line : found->lines) {
        if (line.hasKey && AsciiUpper(line.key) == wanted)
            return &line.fields[0];
    }
    return nullptr;
}

int CodePageLanguage(int codePage) {
    switch (codePage) {
    case 932:
        return 0x0411;
    case 936:
        return 0x0804;
    case 949:
        return 0x0412;
    case 950:
        return 0x0404;
    default:
        return 0x0409;
    }
}

InfFile ParseInf(const std::string& path, const std::string& bytes, const InfReading& reading) {
    InfFile inf;
    inf.path = path;
    const InfText text = DecodeInfBytes(bytes);
    inf.encoding = text.encoding;
    if (text.encoding == InfEncoding::Ansi && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        // Windows tells a Unicode INF by the UTF-16 byte-order mark alone ("Setup API"
        // overview; "General Unicode Requirement in INF Files"), so it reads these three
        // bytes as ANSI characters at the start of the first line.
        inf.findings.push_back(MakeFinding(Code::Utf8Bom, path, 1,
                                           "the file starts with a UTF-8 byte-order mark, which "
                                           "Windows reads as three ANSI characters of its first "
                                           "line"));
    InfScan scan =
        ScanInfLines(text.text, text.encoding == InfEncoding::Ansi ? reading.codePage : 1252);
    if (scan.error.refused) {
        inf.openError = MakeFinding(scan.error.code, path, scan.error.line, scan.error.text);
        return inf;
    }
    const std::vector<RawSection> raw = CutSections(scan, inf);
    const int language =
        reading.language != 0 ? reading.language : CodePageLanguage(reading.codePage);
    const StringTable strings = StringsRead(raw, language, inf);

    for (const RawSection& section : raw) {
        InfSection parsed{section.name, section.line, {}};
        const bool literal = IsStringsSection(section.name);
        // The [Strings.LanguageID] of other languages keep their name, not their entries:
        // nothing of them is read, and an INF localized into 30 languages is mostly them.
        if (literal && std::find(inf.stringsRead.begin(), inf.stringsRead.end(), section.name) ==
                           inf.stringsRead.end()) {
            inf.sections.push_back(std::move(parsed));
            continue;
        }
        parsed.lines.reserve(section.lines.size());
        for (InfRawLine* line : section.lines) {
            StringLookup lookup{&strings, {}};
            parsed.lines.push_back(ExpandInfEntry(std::move(*line), literal ? nullptr : &lookup));
            // Windows keeps an undefined %strkey% as it is written (Wine's INF parser tests,
            // getfield rows run on NT 4 to 2003, read "%RTMGFE_NAME%" back unchanged), and a
            // REG_EXPAND_SZ value's %SystemRoot% is meant to stay: worth a look, no failure.
            for (const std::string& token : lookup.undefined) {
                Finding finding = MakeFinding(
                    Code::UndefinedString, path, line->line,
                    "%" + token +
                        "% is defined in no [Strings] section Windows reads; Windows keeps it "
                        "as written");
                finding.section = section.name;
                inf.findings.push_back(finding);
            }
        }
        inf.sections.push_back(std::move(parsed));
    }
    return inf;
}
