// Character-wise search and reversal of 8-bit text in the system's ANSI code page.
//
// A byte that the code page marks as a lead byte forms one character with the byte after it;
// every other byte is a character by itself. The lead bytes are read from the runtime once,
// when the code page is set; searches then let the C library find the bytes and only check
// that a match starts a character, because a trail byte can have any value, including '\\'
// and '='.
#pragma once

// Reads the runtime's lead-byte answer for all 256 byte values; called right after the code
// page is set, and again whenever the code page changes.
void MbLoadLeadBytes();
// Forgets them, as a new process starts: every byte a character by itself until the next
// load. The simulated machine starts each launcher run so.
void MbForgetLeadBytes();

// Whether the code page, as last read, marks byte as a lead byte. The launcher reads the table
// inside this file; the tests hold it against the runtime's own answers through this.
bool MbIsLeadByte(unsigned char byte);

// Byte length of the character starting at text[0] (1 or 2; 1 for a lead byte before the NUL),
// asked of the runtime directly, so it holds for whatever code page is set now, loaded or not.
// The launcher does not use it; keycheck's lint walks key.ini's values with it.
int MbCharLength(const char* text);

// Byte offset of the first character equal to ch at or after text, or -1 (also for NUL).
int MbFindChar(const char* text, char ch);

// Byte offset of the first character boundary at or after text where needle starts, or -1.
// An empty needle is found at offset 0.
int MbFindString(const char* text, const char* needle);

// Reverses the length bytes at text character by character, keeping each double-byte
// character's two bytes in their order.
void MbReverse(char* text, int length);
