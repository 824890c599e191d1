// Shown: ANSI bytes made safe for a terminal, for the reports meant for people.
#pragma once

#include <cstddef>
#include <string>

// Printable ASCII stays as it is; a carriage return, line feed or tab becomes \r, \n or \t,
// and every other byte \xHH.
std::string Shown(const std::string& bytes);

// "1 entry", "2 entries": count with the noun in the number it takes.
std::string Counted(std::size_t count, const char* one, const char* many);
