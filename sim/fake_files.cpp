// CFakeOs: files and folders, the runtime's file reading and memory, the Windows directory.
#include "sim/fake_os.h"

#include "sim/scribble.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {
std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

CFakeOs::File* CFakeOs::FindFile(const std::string& path) const {
    for (const auto& entry : m_files) {
        if (SameName(entry.first, path))
            return const_cast<File*>(&entry.second);
    }
    return nullptr;
}

bool CFakeOs::FolderExists(const std::string& path) const {
    return std::any_of(m_folders.begin(), m_folders.end(),
                       [&](const std::string& folder) { return SameName(folder, path); });
}

void CFakeOs::AddFolder(const std::string& path) {
    for (std::string folder = path; !folder.empty(); folder = ParentFolder(folder)) {
        if (!FolderExists(folder))
            m_folders.push_back(folder);
    }
}

void CFakeOs::AddFile(const std::string& path, const std::string& content) {
    AddFolder(ParentFolder(path));
    if (File* file = FindFile(path))
        file->content = content;
    else
        m_files[path].content = content;
}

void CFakeOs::SetReadOnly(const std::string& path) {
    File* file = FindFile(path);
    if (file == nullptr)
        throw std::out_of_range("no file " + path);
    file->readOnly = true;
}

bool CFakeOs::FileExists(const std::string& path) const {
    return FindFile(path) != nullptr;
}

std::string CFakeOs::FileContent(const std::string& path) const {
    const File* file = FindFile(path);
    if (file == nullptr)
        throw std::out_of_range("no file " + path);
    return file->content;
}

OsFile CFakeOs::FileOpen(const char* path, const char* mode) {
    if (Called(FakeOp::FileOpen) || std::strcmp(mode, "rb") != 0)
        return nullptr;
    const File* file = FindFile(path);
    if (file == nullptr)
        return nullptr;
    m_openFiles.push_back(std::make_unique<OpenFile>());
    m_openFiles.back()->content = file->content;
    return reinterpret_cast<OsFile>(m_openFiles.back().get());
}

std::int64_t CFakeOs::FileTell(OsFile file) {
    if (Called(FakeOp::FileTell))
        return -1;
    return reinterpret_cast<OpenFile*>(file)->position;
}

int CFakeOs::FileSeek(OsFile file, std::int64_t offset, int origin) {
    if (Called(FakeOp::FileSeek))
        return -1;
    OpenFile* open = reinterpret_cast<OpenFile*>(file);
    const std::int64_t length = reportedFileLength >= 0
                                    ? reportedFileLength
                                    : static_cast<std::int64_t>(open->content.size());
    std::int64_t base = 0;
    if (origin == SEEK_CUR)
        base = open->position;
    else if (origin == SEEK_END)
        base = length;
    else if (origin != SEEK_SET)
        return -1;
    // A position before the start is refused (EINVAL) and the position kept.
    if (base + offset < 0)
        return -1;
    open->position = base + offset;
    return 0;
}

std::uint32_t CFakeOs::FileRead(void* buffer, std::uint32_t size, OsFile file) {
    // After a read error the buffer's bytes are not promised; here they are scribbled. At the
    // end of the file the bytes past those read stay as they were.
    if (Called(FakeOp::FileRead)) {
        Scribble(buffer, size);
        return 0;
    }
    OpenFile* open = reinterpret_cast<OpenFile*>(file);
    const std::int64_t available = static_cast<std::int64_t>(open->content.size()) - open->position;
    const std::uint32_t count = static_cast<std::uint32_t>(
        std::max<std::int64_t>(0, std::min<std::int64_t>(size, available)));
    if (count != 0)
        std::memcpy(buffer, open->content.data() + open->position, count);
    open->position += count;
    return count;
}

int CFakeOs::FileClose(OsFile file) {
    const bool fail = Called(FakeOp::FileClose);
    auto it = std::find_if(m_openFiles.begin(), m_openFiles.end(), [&](const auto& open) {
        return open.get() == reinterpret_cast<OpenFile*>(file);
    });
    if (it != m_openFiles.end())
        m_openFiles.erase(it);
    return fail ? -1 : 0;
}

void* CFakeOs::MemAlloc(std::uint32_t size) {
    if (Called(FakeOp::MemAlloc))
        return nullptr;
    // malloc does not zero: a new block holds garbage, here the debug heap's fill byte.
    m_allocations.push_back(std::unique_ptr<char[]>(new char[size]));
    Scribble(m_allocations.back().get(), size, kFreshHeapByte);
    return m_allocations.back().get();
}

void* CFakeOs::TextAlloc(std::uint32_t size) {
    if (++textAllocations == failTextAllocation)
        return nullptr;
    void* block = std::malloc(size);
    if (block != nullptr)
        Scribble(block, size, kFreshHeapByte);
    return block;
}

void CFakeOs::TextFree(void* block) {
    std::free(block);
}

std::uint32_t CFakeOs::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    if (Called(FakeOp::GetWindowsDirectoryA)) {
        Scribble(buffer, size);
        return 0;
    }
    // Too small a buffer gets the size needed, NUL included, and no usable text.
    if (windowsDir.size() + 1 > size) {
        Scribble(buffer, size);
        return static_cast<std::uint32_t>(windowsDir.size() + 1);
    }
    std::memcpy(buffer, windowsDir.c_str(), windowsDir.size() + 1);
    return static_cast<std::uint32_t>(windowsDir.size());
}

int CFakeOs::CopyFileA(const char* source, const char* destination, int failIfExists) {
    copiesAttempted.push_back(std::string(source) + " -> " + destination);
    if (Called(FakeOp::CopyFileA))
        return 0;
    const File* from = FindFile(source);
    File* to = FindFile(destination);
    // A file is not copied onto itself (a sharing violation), nor onto a folder, nor into a
    // folder that does not exist.
    if (from == nullptr || from == to || FolderExists(destination) ||
        !FolderExists(ParentFolder(destination)))
        return 0;
    if (to != nullptr && (failIfExists != 0 || to->readOnly))
        return 0;
    // The copy takes the source's attributes, read-only included.
    // https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-copyfilea
    const File copy = *from;
    if (to != nullptr)
        *to = copy;
    else
        m_files[destination] = copy;
    return 1;
}
