// The Windows build's operating-system seam: each operation forwards to Win32 or the runtime.
#include "platform/os_api.h"

#include <windows.h>

#include <commctrl.h>
#include <mbctype.h>
#include <stdio.h>
#include <stdlib.h>

namespace {
class CWin32OsApi final : public COsApi {
public:
    constexpr CWin32OsApi() = default;

    void SetMultibyteCodePage() override { _setmbcp(_MB_CP_ANSI); }
    bool IsLeadByte(unsigned char byte) override { return _ismbblead(byte) != 0; }

    void InitCommonControls() override { ::InitCommonControls(); }
    std::uint32_t GetModuleFileNameA(OsInstance module, char* buffer, std::uint32_t size) override {
        return ::GetModuleFileNameA(reinterpret_cast<HMODULE>(module), buffer, size);
    }
    int GetVersionExA(OsVersionInfo* info) override {
        static_assert(sizeof(OsVersionInfo) == sizeof(OSVERSIONINFOEXA), "same record");
        return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info));
    }

    long RegOpenKeyExA(OsKey parent, const char* subKey, std::uint32_t options,
                       std::uint32_t access, OsKey* result) override {
        HKEY key = nullptr;
        const LONG status =
            ::RegOpenKeyExA(reinterpret_cast<HKEY>(parent), subKey, options, access, &key);
        *result = reinterpret_cast<OsKey>(key);
        return status;
    }
    long RegQueryInfoKeyA(OsKey key, std::uint32_t* subKeyCount) override {
        DWORD count = 0;
        const LONG status =
            ::RegQueryInfoKeyA(reinterpret_cast<HKEY>(key), nullptr, nullptr, nullptr, &count,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        *subKeyCount = count;
        return status;
    }
    long RegEnumKeyA(OsKey key, std::uint32_t index, char* name, std::uint32_t size) override {
        return ::RegEnumKeyA(reinterpret_cast<HKEY>(key), index, name, size);
    }
    long RegDeleteKeyA(OsKey key, const char* subKey) override {
        return ::RegDeleteKeyA(reinterpret_cast<HKEY>(key), subKey);
    }
    long RegCloseKey(OsKey key) override { return ::RegCloseKey(reinterpret_cast<HKEY>(key)); }

    OsFile FileOpen(const char* path, const char* mode) override {
        return reinterpret_cast<OsFile>(fopen(path, mode));
    }
    std::int64_t FileTell(OsFile file) override { return ftell(AsFile(file)); }
    int FileSeek(OsFile file, std::int64_t offset, int origin) override {
        // The runtime's offsets are 32-bit; the sizes passed here come from FileTell.
        return fseek(AsFile(file), static_cast<long>(offset), origin);
    }
    std::uint32_t FileRead(void* buffer, std::uint32_t size, OsFile file) override {
        return static_cast<std::uint32_t>(fread(buffer, 1, size, AsFile(file)));
    }
    int FileClose(OsFile file) override { return fclose(AsFile(file)); }
    void* MemAlloc(std::uint32_t size) override { return malloc(size); }
    void* TextAlloc(std::uint32_t size) override { return malloc(size); }
    void TextFree(void* block) override { free(block); }

    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
        return ::GetWindowsDirectoryA(buffer, size);
    }
    int CopyFileA(const char* source, const char* destination, int failIfExists) override {
        return ::CopyFileA(source, destination, failIfExists);
    }
    std::uint32_t WinExec(const char* commandLine, std::uint32_t show) override {
        return ::WinExec(commandLine, show);
    }
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
    OsWindow FindWindowA(const char* className, const char* title) override {
        return reinterpret_cast<OsWindow>(::FindWindowA(className, title));
    }
    int MessageBoxA(OsWindow owner, const char* text, const char* caption,
                    std::uint32_t type) override {
        return ::MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, type);
    }

    [[noreturn]] void ExitProcess(int status) override { exit(status); }

private:
    static FILE* AsFile(OsFile file) { return reinterpret_cast<FILE*>(file); }
};

// Constant-initialised, so it is ready before any static object's constructor runs.
CWin32OsApi g_win32Os;
}  // namespace

COsApi& Os() {
    return g_win32Os;
}
