// What the simulated machine leaves in memory nobody has written: never zeros, never a NUL.
#pragma once

#include <cstddef>
#include <cstring>

// A fresh heap block holds this byte, as the debug heap's "clean land" fill does.
const unsigned char kFreshHeapByte = 0xCD;
// An output buffer of a failed call holds this byte; Windows promises nothing about it.
const unsigned char kScribbleByte = 0xDD;

inline void Scribble(void* buffer, std::size_t size, unsigned char byte = kScribbleByte) {
    if (size != 0)
        std::memset(buffer, byte, size);
}
