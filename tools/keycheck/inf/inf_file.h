// An INF file read by Microsoft's general syntax rules: sections, entries, fields, strings.
//
// Thread rule: an InfFile is a value; reading one touches nothing shared.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/inf/inf_text.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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
    std::optional<Finding> openError;
    // About what the file says, for the versions that read it, each with the section it
    // stands in.
    std::vector<Finding> findings;
    // The [Strings] sections the string table came from, as written, the first one first.
    std::vector<std::string> stringsRead;

    // The section of that name, compared without regard to case, or null.
    const InfSection* Section(const std::string& name) const;
    // The first field of the section's first entry with that key, or null.
    const std::string* Value(const std::string& section, const std::string& key) const;

    std::unordered_map<std::string, std::size_t>
        sectionIndex;  // upper-case name -> place in sections
};

// How a machine reads an INF file: an ANSI one in its ANSI code page, and the strings of the
// [Strings.LanguageID] its language picks (0: the language of the code page's own market).
struct InfReading {
    int codePage = 1252;
    int language = 0;
};

// The language of a code page's market, as a Windows LANGID: US English for 1252, Japanese
// (0411) for 932, Simplified Chinese (0804) for 936, Korean (0412) for 949, Traditional
// Chinese (0404) for 950.
int CodePageLanguage(int codePage);

// Reads an INF file's bytes; path names it in findings.
InfFile ParseInf(const std::string& path, const std::string& bytes, const InfReading& reading = {});
