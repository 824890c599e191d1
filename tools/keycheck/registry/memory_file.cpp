// Bytes held in memory as a file a library can open by name.
#include "tools/keycheck/registry/memory_file.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

MemoryFile::~MemoryFile() {
    if (m_fd >= 0)
        close(m_fd);
}

bool MemoryFile::Append(const char* data, std::size_t size, std::string& why) {
    if (m_fd < 0)
        m_fd = memfd_create("keycheck", MFD_CLOEXEC);
    std::size_t written = 0;
    while (m_fd >= 0 && written < size) {
        const ssize_t wrote = write(m_fd, data + written, size - written);
        if (wrote <= 0)
            break;
        written += static_cast<std::size_t>(wrote);
    }
    if (m_fd < 0 || written != size) {
        why = std::string("cannot be held in memory (") + std::strerror(errno) + ")";
        return false;
    }
    return true;
}
#else
MemoryFile::~MemoryFile() = default;

bool MemoryFile::Append(const char* data, std::size_t size, std::string& why) {
    (void)data;
    (void)size;
    why = "cannot be held in memory on this system";
    return false;
}
#endif
