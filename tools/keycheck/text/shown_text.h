// Shown: ANSI bytes made safe for a terminal, for the reports meant for people.
//
// Thread rule: pure functions; any thread.
#pragma once

#include <cstddef>
#include <string>

// Printable ASCII stays as it is; a carriage return, line feed or tab becomes \r, \n or \t,
// and every other byte \xHH: plain ASCII whatever the bytes, for texts that also go into JSON.
std::string Shown(const std::string& bytes);

// The same for a terminal: ANSI text of codePage, each character that is no ASCII control
// character in the terminal's encoding (UTF-8; the console's code page in the Windows build);
// a byte that starts no character, or a character the terminal cannot show, as \xHH.
std::string Shown(const std::string& bytes, int codePage);

// "1 entry", "2 entries": count with the noun in the number it takes.
std::string Counted(std::size_t count, const char* one, const char* many);
