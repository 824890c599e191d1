// Names compared without regard to ASCII case, as INF, TXTSETUP.OEM and registry-export keywords
// are.
//
// Thread rule: pure functions; any thread.
#pragma once

#include <string>

// text with its ASCII letters in upper case; every other byte as it is.
std::string AsciiUpper(std::string text);
