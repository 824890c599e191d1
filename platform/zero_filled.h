// ZERO_FILLED: keeps a zero-initialised static variable out of the executable file.
//
// With -fdata-sections, GCC for Windows gives each zero-initialised variable a .data$ section
// of its own, so its zeros are stored in setup.exe; placed in .bss, it takes memory only.
#pragma once

#define ZERO_FILLED __attribute__((section(".bss")))
