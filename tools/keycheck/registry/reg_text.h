// The lines of a registry export, whatever its file's encoding, as text in the ANSI code page.
//
// Thread rule: a reader belongs to one thread.
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

// The file's lines one at a time, without their CR LF or LF ends, so that a large export is
// never held twice. A file starting with the UTF-16LE or the UTF-8 byte-order mark is
// converted to codePage by the code page's table; other files are taken as bytes in the code
// page already.
class RegLineReader {
public:
    RegLineReader(const std::string& bytes, int codePage);
    RegFileEncoding Encoding() const { return m_encoding; }
    // The next line into line; false after the last one.
    bool Next(RegLine& line);

private:
    const std::string& m_bytes;
    int m_codePage;
    RegFileEncoding m_encoding = RegFileEncoding::Ansi;
    std::size_t m_at = 0;        // where the next line starts
    std::size_t m_unitSize = 1;  // 2 in UTF-16
    int m_number = 0;
    bool m_done = false;
};
