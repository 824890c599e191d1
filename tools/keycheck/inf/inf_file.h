// An INF file read by Microsoft's general syntax rules: sections, entries, fields, strings.
#pragma once

#include "tools/keycheck/inf/inf_text.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// Something in an INF file, or about it, that Windows would trip over.
struct InfFinding {
    std::string file;  // as the package names it, such as "drv\hx5820.inf"
    int line;          // from 1; 0 when it is about the whole file
    std::string code;  // a short stable name, such as "undefined-string"
    std::string text;
    bool warning = false;  // something to look at; Windows still reads the file as intended
};

// One entry: "key = field, field, ..." or just "field, field, ...". %strkey% tokens are
// replaced, quotes removed, blanks around unquoted text dropped, continued lines joined.
struct InfLine {
    int line;
    bool hasKey;
    std::string key;
    std::vector<std::string> fields;
};

struct InfSection {
    std::string name;  // as first written
    int line;          // of its first header
    std::vector<InfLine> lines;
};

struct InfFile {
    std::string path;
    InfEncoding encoding = InfEncoding::Ansi;
    std::vector<InfSection> sections;  // in order of first appearance, same names merged
    // Why Windows refuses to open the file (no version reads it), or null.
    std::optional<InfFinding> openError;
    std::vector<InfFinding> findings;  // about what the file says, for the versions that read it

    // The section of that name, compared without regard to case, or null.
    const InfSection* Section(const std::string& name) const;
    // The first field of the section's first entry with that key, or null.
    const std::string* Value(const std::string& section, const std::string& key) const;

    std::map<std::string, std::size_t> sectionIndex;  // upper-case name -> place in sections
};

// The language whose [Strings.LanguageID] keycheck reads before [Strings]: English (US).
const int kInfLanguage = 0x0409;

// Reads an INF file's bytes; path names it in findings.
InfFile ParseInf(const std::string& path, const std::string& bytes, int language = kInfLanguage);
