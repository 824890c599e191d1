// Text between UTF-16 and an ANSI code page (one of kAnsiCodePages), by the code page's own
// table, and ANSI bytes for a terminal.
//
// Thread rule: any thread; each thread converts with iconv descriptors of its own.
#pragma once

#include <cstdint>
#include <string>

// UTF-16LE bytes (no byte-order mark) as bytes of codePage. A character without a form there
// becomes '?', and *unconvertible (when given) gets the first such one's code point, else 0.
std::string Utf16ToCodePage(const std::string& utf16, int codePage,
                            std::uint32_t* unconvertible = nullptr);

// Bytes of codePage as UTF-16LE bytes; a byte that starts no character there becomes U+FFFD.
std::string CodePageToUtf16(const std::string& bytes, int codePage);

// UTF-8 as UTF-16LE bytes, and back; a malformed UTF-8 sequence becomes U+FFFD.
std::string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::string& utf16);

// UTF-16LE bytes in the encoding of the terminal keycheck writes to: UTF-8 on the host, the
// console's output code page in the Windows build; empty when a character has no form there.
std::string Utf16ToTerminal(const std::string& utf16);
