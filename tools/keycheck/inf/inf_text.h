// An INF file's bytes as text: ANSI, or UTF-16LE after its byte-order mark.
#pragma once

#include <string>

enum class InfEncoding { Ansi, Utf16Le };

struct InfText {
    InfEncoding encoding;
    std::string utf8;  // ANSI bytes each as one Latin-1 character, as keycheck shows them
};

InfText DecodeInfBytes(const std::string& bytes);

// name in upper case, ASCII letters only: INF names compare without regard to case.
std::string InfUpper(std::string name);
