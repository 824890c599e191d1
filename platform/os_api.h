// The one seam between the launcher's logic and the operating system.
//
// Every operating-system and runtime operation the launcher uses is a member of COsApi. The
// Windows build forwards each one to the Win32 function or runtime call of the same name; the
// host build links an in-memory fake instead. Portable code reaches the platform only through
// Os() and never includes <windows.h>.
#pragma once

#include <cstdint>

// Opaque handles: each holds the Win32 handle of the same role, unchanged.
typedef struct OsInstanceTag* OsInstance;
typedef struct OsWindowTag* OsWindow;
typedef struct OsFileTag* OsFile;
typedef std::uintptr_t OsKey;

// The Win32 OSVERSIONINFOEXA record, field for field.
struct OsVersionInfo {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
    std::uint16_t wServicePackMajor;
    std::uint16_t wServicePackMinor;
    std::uint16_t wSuiteMask;
    std::uint8_t wProductType;
    std::uint8_t wReserved;
};
static_assert(sizeof(OsVersionInfo) == 156, "OSVERSIONINFOEXA is 156 bytes");

class COsApi {
public:
    // Runtime: multibyte code page and lead bytes.
    virtual void SetMultibyteCodePage() = 0;  // _setmbcp(_MB_CP_ANSI)
    virtual bool IsLeadByte(unsigned char byte) = 0;

    // Start-up.
    virtual void InitCommonControls() = 0;
    virtual std::uint32_t GetModuleFileNameA(OsInstance module, char* buffer,
                                             std::uint32_t size) = 0;
    virtual int GetVersionExA(OsVersionInfo* info) = 0;

    // Registry; results are Win32 error codes, 0 on success.
    virtual long RegOpenKeyExA(OsKey parent, const char* subKey, std::uint32_t options,
                               std::uint32_t access, OsKey* result) = 0;
    virtual long RegQueryInfoKeyA(OsKey key, std::uint32_t* subKeyCount) = 0;
    virtual long RegEnumKeyA(OsKey key, std::uint32_t index, char* name, std::uint32_t size) = 0;
    virtual long RegDeleteKeyA(OsKey key, const char* subKey) = 0;
    virtual long RegCloseKey(OsKey key) = 0;

    // Runtime file reading and memory, with the C library's results.
    virtual OsFile FileOpen(const char* path, const char* mode) = 0;
    virtual std::int64_t FileTell(OsFile file) = 0;
    virtual int FileSeek(OsFile file, std::int64_t offset, int origin) = 0;
    virtual std::uint32_t FileRead(void* buffer, std::uint32_t size, OsFile file) = 0;
    virtual int FileClose(OsFile file) = 0;
    virtual void* MemAlloc(std::uint32_t size) = 0;
    // The runtime heap that holds CString's text; a block is given back with TextFree.
    virtual void* TextAlloc(std::uint32_t size) = 0;
    virtual void TextFree(void* block) = 0;

    // Files, processes and windows.
    virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
    virtual int CopyFileA(const char* source, const char* destination, int failIfExists) = 0;
    virtual std::uint32_t WinExec(const char* commandLine, std::uint32_t show) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual OsWindow FindWindowA(const char* className, const char* title) = 0;
    virtual int MessageBoxA(OsWindow owner, const char* text, const char* caption,
                            std::uint32_t type) = 0;

    // Ends the process with the given status; static objects are destroyed.
    [[noreturn]] virtual void ExitProcess(int status) = 0;

protected:
    ~COsApi() = default;
};

// The platform in use: Win32 in the Windows build, the fake in the host tests.
COsApi& Os();
