// ZERO_FILLED: keeps a zero-initialised static variable out of the executable file.
//
// With -fdata-sections, GCC for Windows gives each zero-initialised variable a .data$ section
// of its own, so its zeros are stored in setup.exe; placed in .bss, it takes memory only. It
// matters only for the size of setup.exe, so elsewhere it is nothing: AddressSanitizer leaves
// a variable with a section of its own unguarded, and the host tests want every overrun seen.
#pragma once

#ifdef _WIN32
#define ZERO_FILLED __attribute__((section(".bss")))
#else
#define ZERO_FILLED
#endif
