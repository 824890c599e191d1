// CFakeOs: a simulated Windows machine behind the launcher's seam, at least as strict as Windows.
//
// It holds a registry tree, files and folders, a version record, top-level windows on a
// virtual clock, and a log of every call and message box; any operation can be made to fail
// on its n-th call, the way the real one fails.
//
// Thread rule: a CFakeOs belongs to one thread at a time; machines on different threads are
// independent, and installing one for the launcher's logic is serialised (FakeOsInstalled).
#pragma once

#include "platform/os_api.h"
#include "sim/windows_values.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

// Every operation of the seam the simulated machine logs and can fail, one row each: its
// enumerator and its name in the call log and the fault-sweep table come from the same row.
#define FAKE_OPS(X)                                                                                \
    X(SetMultibyteCodePage)                                                                        \
    X(InitCommonControls)                                                                          \
    X(GetModuleFileNameA)                                                                          \
    X(GetVersionExA)                                                                               \
    X(RegOpenKeyExA)                                                                               \
    X(RegQueryInfoKeyA)                                                                            \
    X(RegEnumKeyA)                                                                                 \
    X(RegDeleteKeyA)                                                                               \
    X(RegCloseKey)                                                                                 \
    X(FileOpen)                                                                                    \
    X(FileTell)                                                                                    \
    X(FileSeek)                                                                                    \
    X(FileRead)                                                                                    \
    X(FileClose)                                                                                   \
    X(MemAlloc)                                                                                    \
    X(GetWindowsDirectoryA)                                                                        \
    X(CopyFileA)                                                                                   \
    X(WinExec)                                                                                     \
    X(Sleep)                                                                                       \
    X(FindWindowA)                                                                                 \
    X(MessageBoxA)                                                                                 \
    X(ExitProcess)

enum class FakeOp {
#define FAKE_OP_ENUMERATOR(name) name,
    FAKE_OPS(FAKE_OP_ENUMERATOR)
#undef FAKE_OP_ENUMERATOR
};
const char* FakeOpName(FakeOp op);

// Thrown by the fake's ExitProcess. Deliberately not a std::exception, so that nothing but
// the test runner catches it.
struct FakeProcessExit {
    int status;
};

struct FakeMessageBox {
    std::string caption;
    std::string text;
    std::uint32_t type;
};

struct FakeWindow {
    std::string title;
    std::uint64_t opensAtMs;
    std::uint64_t closesAtMs;
};

class CFakeOs;

// Hands os to the launcher's logic: while it lives, os answers Os() on this thread, and the
// runtime's lead-byte table is os's code page's. The launcher's logic keeps process globals (the
// device-ID table, the key text, the lead-byte table, the application object), so one machine
// is installed at a time in the whole process: installing one on another thread waits until
// the machine in place is gone. On its own thread, installing a second machine while another is
// in place ends the process with a message rather than waiting for itself; installing os again
// (RunLauncher inside a test that installed it) is allowed. Os() on a thread that installed no
// machine ends the process too.
//
// Thread rule: any thread may install a machine; a launcher run holds the process's one lock
// from the outermost installation to its end.
class FakeOsInstalled {
public:
    explicit FakeOsInstalled(CFakeOs& os);
    ~FakeOsInstalled();
    FakeOsInstalled(const FakeOsInstalled&) = delete;
    FakeOsInstalled& operator=(const FakeOsInstalled&) = delete;

private:
    bool m_outermost;
};

class CFakeOs final : public COsApi {
public:
    CFakeOs();
    ~CFakeOs();
    CFakeOs(const CFakeOs&) = delete;
    CFakeOs& operator=(const CFakeOs&) = delete;

    // --- Machine set-up ---------------------------------------------------------------
    std::string modulePath = "C:\\Disk\\setup.exe";
    std::string windowsDir = "C:\\WINDOWS";
    // The ANSI code page, one of kAnsiCodePages; while the machine is installed, the runtime's
    // lead-byte table follows it.
    int CodePage() const { return m_codePage; }
    void SetCodePage(int codePage);
    // The version record; it also sets the family's rules below (Windows 9x or NT), so a
    // machine behaves as the version it reports. Windows XP until set.
    void SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                    std::uint32_t build);
    bool deleteKeyTrees = false;   // Windows 9x: a key goes with its subkeys
    bool registrySecurity = true;  // NT: handles keep their rights; only reading below ...\Enum
    std::set<std::uint32_t> acceptedVersionSizes;  // record sizes GetVersionExA takes

    // Registry paths are under HKEY_LOCAL_MACHINE, compared without regard to case.
    void AddKey(const std::string& path);
    void DenyWriteAccess(const std::string& path);  // any family: only reading is allowed
    bool KeyExists(const std::string& path) const;
    std::vector<std::string> SubKeyNames(const std::string& path) const;
    int OpenKeyCount() const { return static_cast<int>(m_openKeys.size()); }

    // Files and folders; paths compared without regard to case, as Windows does.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content);
    void SetReadOnly(const std::string& path);
    bool FileExists(const std::string& path) const;
    std::string FileContent(const std::string& path) const;
    std::size_t FileCount() const { return m_files.size(); }
    int OpenFileCount() const { return static_cast<int>(m_openFiles.size()); }
    std::int64_t reportedFileLength = -1;  // when set, the length seeking to the end reports

    // Windows on the virtual clock, and what a started program does.
    std::vector<FakeWindow> windows;
    std::function<void(CFakeOs&, const std::string&)> onWinExec;
    std::uint64_t nowMs = 0;

    // --- Faults ---------------------------------------------------------------------------
    void FailCall(FakeOp op, int nth = 1);  // the nth call of op fails (1-based)
    void FailAlways(FakeOp op);
    void FailCallNumber(int n);  // the nth logged call of any kind fails (1-based)
    // CString's text allocations are counted, not logged: a run makes dozens of them. When
    // failTextAllocation is n > 0, the nth one finds the heap exhausted.
    int failTextAllocation = 0;
    int textAllocations = 0;

    // --- What happened --------------------------------------------------------------------
    std::vector<FakeOp> calls;
    std::vector<FakeMessageBox> boxes;
    std::vector<std::string> commandLines;
    std::vector<std::uint32_t> execShowModes;
    std::vector<std::uint32_t> sleeps;
    std::vector<std::string> copiesAttempted;  // "source -> destination"
    std::vector<std::string> keysDeleted;
    std::string CallLog() const;

    // --- COsApi ---------------------------------------------------------------------------
    void SetMultibyteCodePage() override;
    bool IsLeadByte(unsigned char byte) override;
    void InitCommonControls() override;
    std::uint32_t GetModuleFileNameA(OsInstance module, char* buffer, std::uint32_t size) override;
    int GetVersionExA(OsVersionInfo* info) override;
    long RegOpenKeyExA(OsKey parent, const char* subKey, std::uint32_t options,
                       std::uint32_t access, OsKey* result) override;
    long RegQueryInfoKeyA(OsKey key, std::uint32_t* subKeyCount) override;
    long RegEnumKeyA(OsKey key, std::uint32_t index, char* name, std::uint32_t size) override;
    long RegDeleteKeyA(OsKey key, const char* subKey) override;
    long RegCloseKey(OsKey key) override;
    OsFile FileOpen(const char* path, const char* mode) override;
    std::int64_t FileTell(OsFile file) override;
    int FileSeek(OsFile file, std::int64_t offset, int origin) override;
    std::uint32_t FileRead(void* buffer, std::uint32_t size, OsFile file) override;
    int FileClose(OsFile file) override;
    void* MemAlloc(std::uint32_t size) override;
    void* TextAlloc(std::uint32_t size) override;
    void TextFree(void* block) override;
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
    int CopyFileA(const char* source, const char* destination, int failIfExists) override;
    std::uint32_t WinExec(const char* commandLine, std::uint32_t show) override;
    void Sleep(std::uint32_t milliseconds) override;
    OsWindow FindWindowA(const char* className, const char* title) override;
    int MessageBoxA(OsWindow owner, const char* text, const char* caption,
                    std::uint32_t type) override;
    [[noreturn]] void ExitProcess(int status) override;

private:
    int m_codePage = 1252;
    struct Key {
        std::string name;
        Key* parent = nullptr;
        bool denyWrite = false;
        std::vector<std::unique_ptr<Key>> children;  // in the order they enumerate
        // The children by name as it compares in the code page of m_indexCodePage, so that
        // a walk of many sibling keys costs no more than the keys themselves.
        std::unordered_map<std::string, Key*> byName;
    };
    struct File {
        std::string content;
        bool readOnly = false;
    };
    struct OpenFile {
        std::string content;
        std::int64_t position = 0;
    };

    bool Called(FakeOp op);  // logs the call; true when it is to fail
    bool IsNt() const { return m_version.dwPlatformId == windows::kPlatformNt; }
    // Names compare without regard to case in the ANSI code page: a double-byte character is
    // compared as it is, so a trail byte is never folded.
    bool SameName(const std::string& a, const std::string& b) const;
    Key* FindKey(const std::string& path) const { return FindKeyBelow(&m_root, path); }
    Key* Child(const Key* parent, const std::string& name) const;
    void Reindex(Key* key) const;
    std::vector<std::string> SplitPath(const std::string& path) const;
    Key* FindKeyBelow(const Key* base, const std::string& path) const;
    Key* KeyOf(OsKey handle) const;
    bool IsBelowNtEnum(const Key* key) const;
    bool HandleLacks(OsKey handle, std::uint32_t right) const;
    File* FindFile(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    bool ProgramExists(const std::string& commandLine) const;

    mutable Key m_root;  // HKEY_LOCAL_MACHINE; its indexes are rebuilt when the code page changes
    mutable int m_indexCodePage = 1252;
    std::map<OsKey, Key*> m_openKeys;
    std::map<OsKey, std::uint32_t> m_keyRights;  // the rights each open handle was given
    OsKey m_nextHandle = 0x1000;
    std::map<std::string, File> m_files;  // by path as given; found with SameName
    std::vector<std::string> m_folders;
    std::vector<std::unique_ptr<OpenFile>> m_openFiles;
    std::vector<std::unique_ptr<char[]>> m_allocations;
    OsVersionInfo m_version{};
    std::map<FakeOp, int> m_callCounts;
    std::map<FakeOp, std::set<int>> m_failures;
    std::set<FakeOp> m_alwaysFail;
    std::set<int> m_failCallNumbers;
};
