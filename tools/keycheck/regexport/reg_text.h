// The lines of a registry export, in either encoding, as text in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class RegEncoding {
    Ansi,   // REGEDIT4, as Windows 9x and NT 4 write it
    Utf16,  // UTF-16LE with a byte-order mark, as regedit and reg export write it since 2000
};

// "REGEDIT4" or "UTF-16LE", as the JSON reports name the encodings.
const char* RegEncodingName(RegEncoding encoding);

struct RegLine {
    int number;  // from 1
    std::string text;
    // The first character of a UTF-16 line that has no form in the code page (stored as '?'),
    // or 0.
    std::uint32_t unconvertible = 0;
};

struct RegText {
    RegEncoding encoding = RegEncoding::Ansi;
    std::vector<RegLine> lines;
};

// UTF-16LE bytes (no byte-order mark) as text in codePage, converted as DecodeRegText
// converts; a character without a form there becomes '?'.
std::string Utf16ToAnsi(const std::string& utf16, int codePage);

// Splits the file's bytes into lines, without their CR LF or LF ends. A file starting with
// the UTF-16LE byte-order mark is converted to codePage: ASCII in every code page, the rest
// only in 1252. Other files are taken as bytes in the code page already.
RegText DecodeRegText(const std::string& bytes, int codePage);
