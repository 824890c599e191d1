// Shown: ANSI bytes made safe for a terminal, for the reports meant for people.
#pragma once

#include <string>

// Printable ASCII stays as it is; a carriage return, line feed or tab becomes \r, \n or \t,
// and every other byte \xHH.
std::string Shown(const std::string& bytes);
