// Character-wise search and reversal of 8-bit text in the system's ANSI code page.
//
// A byte that the code page marks as a lead byte forms one character with the byte after it;
// every other byte is a character by itself. Text is always walked forward from a known
// character boundary, because a trail byte can have any value, including '\\' and '='.
#pragma once

// Byte length of the character starting at text[0] (1 or 2; 1 for a lead byte before the NUL).
int MbCharLength(const char* text);

// Byte offset of the first character equal to ch at or after text, or -1.
int MbFindChar(const char* text, char ch);

// Byte offset of the first character boundary at or after text where needle starts, or -1.
// An empty needle is found at offset 0.
int MbFindString(const char* text, const char* needle);

// Reverses the length bytes at text character by character, keeping each double-byte
// character's two bytes in their order.
void MbReverse(char* text, int length);
