// CFakeOs: a simulated Windows machine behind the launcher's seam, at least as strict as Windows.
#include "sim/fake_os.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
CFakeOs* g_fakeOs = nullptr;

const OsKey kLocalMachine = 0x80000002u;
const long kNoMoreItems = 259;
const long kMoreData = 234;
const long kFileNotFound = 2;
const long kAccessDenied = 5;
const std::uint32_t kKeyWriteBits = 0x00000006u;  // KEY_SET_VALUE | KEY_CREATE_SUB_KEY

std::string Upper(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Registry names compare without regard to case, as Windows compares them.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

COsApi& Os() {
    if (g_fakeOs == nullptr) {
        std::fputs("Os() used with no CFakeOs in place\n", stderr);
        std::abort();
    }
    return *g_fakeOs;
}

const char* FakeOpName(FakeOp op) {
    static const char* const names[] = {"SetMultibyteCodePage",
                                        "InitCommonControls",
                                        "GetModuleFileNameA",
                                        "GetVersionExA",
                                        "RegOpenKeyExA",
                                        "RegQueryInfoKeyA",
                                        "RegEnumKeyA",
                                        "RegDeleteKeyA",
                                        "RegCloseKey",
                                        "FileOpen",
                                        "FileTell",
                                        "FileSeek",
                                        "FileRead",
                                        "FileClose",
                                        "MemAlloc",
                                        "GetWindowsDirectoryA",
                                        "CopyFileA",
                                        "WinExec",
                                        "Sleep",
                                        "FindWindowA",
                                        "MessageBoxA",
                                        "ExitProcess"};
    return names[static_cast<int>(op)];
}

CFakeOs::CFakeOs() {
    g_fakeOs = this;
    SetVersion(2, 5, 1, 2600);
}

CFakeOs::~CFakeOs() {
    g_fakeOs = nullptr;
}

void CFakeOs::SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                         std::uint32_t build) {
    m_version = OsVersionInfo{};
    m_version.dwPlatformId = platform;
    m_version.dwMajorVersion = major;
    m_version.dwMinorVersion = minor;
    m_version.dwBuildNumber = build;
    std::strcpy(m_version.szCSDVersion, "Service Pack 1");
}

void CFakeOs::AddKey(const std::string& path) {
    Key* key = &m_root;
    for (const std::string& part : SplitPath(path)) {
        auto it = std::find_if(key->children.begin(), key->children.end(),
                               [&](const auto& child) { return SameName(child->name, part); });
        if (it == key->children.end()) {
            key->children.push_back(std::make_unique<Key>());
            key->children.back()->name = part;
            key = key->children.back().get();
        } else {
            key = it->get();
        }
    }
}

void CFakeOs::DenyWriteAccess(const std::string& path) {
    FindKey(path)->denyWrite = true;
}

bool CFakeOs::KeyExists(const std::string& path) const {
    return FindKey(path) != nullptr;
}

std::vector<std::string> CFakeOs::SubKeyNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const Key* key = FindKey(path)) {
        for (const auto& child : key->children)
            names.push_back(child->name);
    }
    return names;
}

CFakeOs::Key* CFakeOs::FindKey(const std::string& path) const {
    const Key* key = &m_root;
    for (const std::string& part : SplitPath(path)) {
        auto it = std::find_if(key->children.begin(), key->children.end(),
                               [&](const auto& child) { return SameName(child->name, part); });
        if (it == key->children.end())
            return nullptr;
        key = it->get();
    }
    return const_cast<Key*>(key);
}

CFakeOs::Key* CFakeOs::KeyOf(OsKey handle) const {
    if (handle == kLocalMachine)
        return const_cast<Key*>(&m_root);
    auto it = m_openKeys.find(handle);
    return it == m_openKeys.end() ? nullptr : it->second;
}

void CFakeOs::AddFolder(const std::string& path) {
    for (std::string folder = path; !folder.empty(); folder = ParentFolder(folder))
        m_folders.insert(Upper(folder));
}

void CFakeOs::AddFile(const std::string& path, const std::string& content) {
    AddFolder(ParentFolder(path));
    m_files[Upper(path)].content = content;
}

void CFakeOs::SetReadOnly(const std::string& path) {
    m_files.at(Upper(path)).readOnly = true;
}

bool CFakeOs::FileExists(const std::string& path) const {
    return m_files.count(Upper(path)) != 0;
}

std::string CFakeOs::FileContent(const std::string& path) const {
    return m_files.at(Upper(path)).content;
}

void CFakeOs::FailCall(FakeOp op, int nth) {
    m_failures[op].insert(nth);
}

void CFakeOs::FailAlways(FakeOp op) {
    m_alwaysFail.insert(op);
}

void CFakeOs::FailCallNumber(int n) {
    m_failCallNumbers.insert(n);
}

std::string CFakeOs::CallLog() const {
    std::string log;
    for (FakeOp op : calls) {
        if (!log.empty())
            log += ' ';
        log += FakeOpName(op);
    }
    return log;
}

bool CFakeOs::Called(FakeOp op) {
    calls.push_back(op);
    const int nth = ++m_callCounts[op];
    return m_alwaysFail.count(op) != 0 || m_failures[op].count(nth) != 0 ||
           m_failCallNumbers.count(static_cast<int>(calls.size())) != 0;
}

void CFakeOs::SetMultibyteCodePage() {
    Called(FakeOp::SetMultibyteCodePage);
}

bool CFakeOs::IsLeadByte(unsigned char byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

void CFakeOs::InitCommonControls() {
    Called(FakeOp::InitCommonControls);
}

std::uint32_t CFakeOs::GetModuleFileNameA(OsInstance, char* buffer, std::uint32_t size) {
    if (Called(FakeOp::GetModuleFileNameA))
        return 0;
    // As on Windows XP: a path that does not fit fills the buffer with no NUL.
    const std::uint32_t length = static_cast<std::uint32_t>(modulePath.size());
    if (length >= size) {
        std::memcpy(buffer, modulePath.data(), size);
        return size;
    }
    std::memcpy(buffer, modulePath.c_str(), length + 1);
    return length;
}

int CFakeOs::GetVersionExA(OsVersionInfo* info) {
    if (Called(FakeOp::GetVersionExA) || acceptedVersionSizes.count(info->dwOSVersionInfoSize) == 0)
        return 0;
    const std::uint32_t size = info->dwOSVersionInfoSize;
    OsVersionInfo filled = m_version;
    filled.dwOSVersionInfoSize = size;
    std::memcpy(info, &filled, size);
    return 1;
}

long CFakeOs::RegOpenKeyExA(OsKey parent, const char* subKey, std::uint32_t, std::uint32_t access,
                            OsKey* result) {
    *result = 0;
    if (Called(FakeOp::RegOpenKeyExA))
        return registryFailure;
    Key* base = KeyOf(parent);
    if (base != &m_root)
        return kAccessDenied;
    Key* key = FindKey(subKey);
    if (key == nullptr)
        return kFileNotFound;
    if (key->denyWrite && (access & kKeyWriteBits) != 0)
        return kAccessDenied;
    *result = m_nextHandle++;
    m_openKeys[*result] = key;
    return 0;
}

long CFakeOs::RegQueryInfoKeyA(OsKey key, std::uint32_t* subKeyCount) {
    if (Called(FakeOp::RegQueryInfoKeyA))
        return registryFailure;
    *subKeyCount = static_cast<std::uint32_t>(KeyOf(key)->children.size());
    return 0;
}

long CFakeOs::RegEnumKeyA(OsKey key, std::uint32_t index, char* name, std::uint32_t size) {
    if (Called(FakeOp::RegEnumKeyA))
        return registryFailure;
    const Key* parent = KeyOf(key);
    if (index >= parent->children.size())
        return kNoMoreItems;
    const std::string& childName = parent->children[index]->name;
    if (childName.size() + 1 > size)
        return kMoreData;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    return 0;
}

long CFakeOs::RegDeleteKeyA(OsKey key, const char* subKey) {
    if (Called(FakeOp::RegDeleteKeyA))
        return registryFailure;
    Key* parent = KeyOf(key);
    auto it = std::find_if(parent->children.begin(), parent->children.end(),
                           [&](const auto& child) { return SameName(child->name, subKey); });
    if (it == parent->children.end())
        return kFileNotFound;
    if (!deleteKeyTrees && !(*it)->children.empty())
        return kAccessDenied;
    keysDeleted.push_back((*it)->name);
    parent->children.erase(it);
    return 0;
}

long CFakeOs::RegCloseKey(OsKey key) {
    // Closing always takes effect; a failure is only reported.
    const bool fail = Called(FakeOp::RegCloseKey);
    const bool wasOpen = m_openKeys.erase(key) != 0;
    return fail || !wasOpen ? registryFailure : 0;
}

OsFile CFakeOs::FileOpen(const char* path, const char* mode) {
    if (Called(FakeOp::FileOpen) || std::strcmp(mode, "rb") != 0)
        return nullptr;
    auto it = m_files.find(Upper(path));
    if (it == m_files.end())
        return nullptr;
    m_openFiles.push_back(std::make_unique<OpenFile>());
    m_openFiles.back()->content = it->second.content;
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
    open->position = (origin == SEEK_END ? length : 0) + offset;
    return 0;
}

std::uint32_t CFakeOs::FileRead(void* buffer, std::uint32_t size, OsFile file) {
    if (Called(FakeOp::FileRead))
        return 0;
    OpenFile* open = reinterpret_cast<OpenFile*>(file);
    const std::int64_t available = static_cast<std::int64_t>(open->content.size()) - open->position;
    const std::uint32_t count = static_cast<std::uint32_t>(
        std::max<std::int64_t>(0, std::min<std::int64_t>(size, available)));
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
    m_allocations.push_back(std::make_unique<char[]>(size));
    return m_allocations.back().get();
}

std::uint32_t CFakeOs::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    if (Called(FakeOp::GetWindowsDirectoryA))
        return 0;
    if (windowsDir.size() + 1 > size)
        return static_cast<std::uint32_t>(windowsDir.size() + 1);
    std::memcpy(buffer, windowsDir.c_str(), windowsDir.size() + 1);
    return static_cast<std::uint32_t>(windowsDir.size());
}

int CFakeOs::CopyFileA(const char* source, const char* destination, int failIfExists) {
    copiesAttempted.push_back(std::string(source) + " -> " + destination);
    if (Called(FakeOp::CopyFileA))
        return 0;
    auto from = m_files.find(Upper(source));
    auto to = m_files.find(Upper(destination));
    if (from == m_files.end() || m_folders.count(Upper(ParentFolder(destination))) == 0)
        return 0;
    if (to != m_files.end() && (failIfExists != 0 || to->second.readOnly))
        return 0;
    const std::string content = from->second.content;
    m_files[Upper(destination)].content = content;
    return 1;
}

std::uint32_t CFakeOs::WinExec(const char* commandLine, std::uint32_t show) {
    commandLines.push_back(commandLine);
    execShowModes.push_back(show);
    if (Called(FakeOp::WinExec))
        return 2;  // ERROR_FILE_NOT_FOUND
    if (onWinExec)
        onWinExec(*this, commandLine);
    return 33;
}

void CFakeOs::Sleep(std::uint32_t milliseconds) {
    Called(FakeOp::Sleep);
    sleeps.push_back(milliseconds);
    nowMs += milliseconds;
}

OsWindow CFakeOs::FindWindowA(const char* className, const char* title) {
    if (Called(FakeOp::FindWindowA) || className != nullptr)
        return nullptr;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const FakeWindow& window = windows[i];
        if (Upper(window.title) == Upper(title) && window.opensAtMs <= nowMs &&
            nowMs < window.closesAtMs)
            return reinterpret_cast<OsWindow>(i + 1);
    }
    return nullptr;
}

int CFakeOs::MessageBoxA(OsWindow owner, const char* text, const char* caption,
                         std::uint32_t type) {
    if (Called(FakeOp::MessageBoxA) || owner != nullptr)
        return 0;
    boxes.push_back(FakeMessageBox{caption == nullptr ? "Error" : caption, text, type});
    return 1;  // IDOK
}

void CFakeOs::ExitProcess(int status) {
    Called(FakeOp::ExitProcess);
    throw FakeProcessExit{status};
}
