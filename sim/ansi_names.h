// Names in an ANSI code page as Windows compares and cuts them: character by character.
//
// Windows turns an ANSI name into Unicode before it compares or splits it, so a double-byte
// character is one character whatever its trail byte is: 0x5C ("\") or an ASCII letter there
// neither cuts a path nor folds.
#pragma once

#include <string>
#include <vector>

// The ANSI code pages of the machines the launcher is shipped for: Western European (1252),
// Japanese (932), Simplified Chinese (936), Korean (949) and Traditional Chinese (950).
const int kAnsiCodePages[] = {1252, 932, 936, 949, 950};
bool IsAnsiCodePage(int codePage);

// The runtime's lead-byte test (_ismbblead) after _setmbcp for each double-byte code page;
// every byte is a character by itself in 1252.
bool IsLeadByteIn(int codePage, unsigned char byte);

// name as it compares without regard to case: each single-byte letter in upper case (ASCII,
// and in code page 1252 the Latin-1 letters too); a double-byte character as it is.
std::string FoldAnsiName(const std::string& name, int codePage);

bool SameAnsiName(const std::string& a, const std::string& b, int codePage);

// path cut at each backslash character, empty parts kept.
std::vector<std::string> SplitAnsiPath(const std::string& path, int codePage);
