// Reads key.ini from the program directory into the device-ID table.
#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"
#include "device/device_id_table.h"
#include "device/listed_id_match.h"

#include "platform/win32_values.h"

#include <cstdint>
#include <cstdio>

// Kept until the process ends.
char* g_pszKeyText = nullptr;

void CDriverSetupApp::LoadKeyFile() {
    // Without a program directory the path would name key.ini in whatever folder is current.
    CString path(m_strAppDir);
    path += "key.ini";
    if (m_strAppDir.IsEmpty() || !ReadWholeFile(path)) {
        DoMessageBox(kTextNoKeyFile, MB_OK, 0);
        Os().ExitProcess(0);
    }
    ParseKeyText(g_pszKeyText, g_deviceIdTable);
    PrepareListedIdMatch(g_deviceIdTable);
}

bool CDriverSetupApp::ReadWholeFile(const char* path) {
    OsFile file = Os().FileOpen(path, "rb");
    if (file == nullptr)
        return false;

    // -1, or the length plus one: never 0.
    const std::int32_t size = GetFileSizePlusOne(file);
    char* text =
        size > 0 ? static_cast<char*>(Os().MemAlloc(static_cast<std::uint32_t>(size))) : nullptr;
    if (text == nullptr) {
        Os().FileClose(file);
        return false;
    }
    g_pszKeyText = text;

    // The text ends where the bytes actually read end.
    std::uint32_t got = Os().FileRead(text, static_cast<std::uint32_t>(size), file);
    Os().FileClose(file);
    if (got > static_cast<std::uint32_t>(size - 1))
        got = static_cast<std::uint32_t>(size - 1);
    text[got] = '\0';
    return true;
}

std::int32_t CDriverSetupApp::GetFileSizePlusOne(OsFile file) {
    // -1 when the length cannot be had or does not fit a signed 32-bit size with its NUL.
    const std::int64_t position = Os().FileTell(file);
    if (position < 0 || Os().FileSeek(file, 0, SEEK_END) != 0)
        return -1;
    const std::int64_t length = Os().FileTell(file);
    if (Os().FileSeek(file, position, SEEK_SET) != 0 || length < 0 || length >= INT32_MAX)
        return -1;
    return static_cast<std::int32_t>(length + 1);
}
