// Bytes given to a library that opens files only by name (hivex, libcreg): held in memory
// (memfd_create) and named by their /proc/self/fd path, gone when closed. A library reading past
// the end of such a file gets a short read, never another buffer's bytes. Linux only: elsewhere
// (keycheck.exe, which has none of those libraries) nothing can be held.
//
// Thread rule: a file belongs to one thread.
#pragma once

#include <cstddef>
#include <string>

class MemoryFile {
public:
    MemoryFile() = default;
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Adds size bytes at the end; false, with why, when they cannot be held.
    bool Append(const char* data, std::size_t size, std::string& why);
    // The name a library opens them by.
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd = -1;
};
