// The lines of a registry export, whatever its file's encoding, as text in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the file's bytes are stored. regedit writes REGEDIT4 in ANSI and version 5.00 in
// UTF-16LE, but an editor may save either way, and as UTF-8 with its byte-order mark.
enum class RegFileEncoding { Ansi, Utf8, Utf16 };

// What the header line says. It, not the file's encoding, tells how hex(2) and hex(7) data is
// written: UTF-16LE bytes in a version 5.00 export, code-page bytes in a REGEDIT4 one.
enum class RegFormat { Regedit4, Version5 };

struct RegLine {
    int number;  // from 1
    std::string text;
    // The first character of a Unicode line that has no form in the code page (stored as '?'),
    // or 0.
    std::uint32_t unconvertible = 0;
};

struct RegText {
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    std::vector<RegLine> lines;
};

// Splits the file's bytes into lines, without their CR LF or LF ends. A file starting with the
// UTF-16LE or the UTF-8 byte-order mark is converted to codePage by the code page's table;
// other files are taken as bytes in the code page already.
RegText DecodeRegText(const std::string& bytes, int codePage);
