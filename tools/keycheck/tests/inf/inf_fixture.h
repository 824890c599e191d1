// INF text for tests: written with "\n" line ends, stored as Windows stores it.
#pragma once

#include "tools/keycheck/inf/inf_text.h"

#include <ostream>
#include <string>

// text (UTF-8, "\n" line ends) as the bytes of an INF file in encoding, with CR LF line ends;
// ANSI keeps only characters up to U+00FF, one byte each.
std::string InfBytes(const std::string& text, InfEncoding encoding);

// "Ansi" or "Utf16Le", as a test's name and printed parameter.
const char* EncodingName(InfEncoding encoding);
void PrintTo(InfEncoding encoding, std::ostream* out);
