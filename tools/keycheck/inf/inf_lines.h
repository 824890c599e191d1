// An INF file's text cut into section headers and entries, as Windows' INF parser cuts it.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "tools/keycheck/findings/codes.h"

#include <string>
#include <vector>

// One logical line: a section header, or an entry's key and fields with their quotes removed
// and their continuations joined; %strkey% tokens are still as written.
struct InfRawLine {
    int line = 0;  // the first physical line it comes from, counting from 1
    bool header = false;
    std::string name;  // a header's section name, as written between the brackets
    bool hasKey = false;
    std::string key;
    std::vector<std::string> fields;
    bool unclosedQuote = false;  // a double quote opened in it is never closed
};

// Why Windows refuses to open the file at all; refused is false when it opens it.
struct InfOpenError {
    bool refused = false;
    Code code = Code::BadSectionLine;
    int line = 0;
    std::string text;
};

struct InfScan {
    std::vector<InfRawLine> lines;  // blank and comment lines left out
    InfOpenError error;
};

// Cuts text (UTF-8, already decoded from the file's encoding). ANSI text, each byte one
// Latin-1 character, is cut in codePage: a lead byte and the byte after it are one character,
// so a trail byte 0x5C or 0x5D is neither a continuation nor the end of a section name.
InfScan ScanInfLines(const std::string& text, int codePage = 1252);
