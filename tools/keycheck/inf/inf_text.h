// An INF file's bytes as text: ANSI, or UTF-16LE after its byte-order mark.
//
// Thread rule: pure functions; any thread.
#pragma once

#include <string>

enum class InfEncoding { Ansi, Utf16Le };

struct InfText {
    InfEncoding encoding;
    // UTF-8: the UTF-16 text as it is, or each ANSI byte as the character of that number
    // (Latin-1), so that every byte stays visible and distinct whatever the code page.
    std::string text;
};

InfText DecodeInfBytes(const std::string& bytes);
