// Windows' own values, as the simulated machine takes and answers with them.
//
// They are written here apart from platform/win32_values.h, the values the launcher passes, on
// purpose: the machine answers with what Windows has, not with what the launcher believes, so
// a wrong value in the launcher meets the real one and fails (a launcher built with
// HKEY_LOCAL_MACHINE one off finds no key). Both lists are checked against the SDK's headers
// when the Windows build compiles sim/windows_values_check.cpp.
#pragma once

#include "platform/os_api.h"

#include <cstdint>

namespace windows {
// The predefined key. HKEY_LOCAL_MACHINE
const OsKey kLocalMachine = 0x80000002u;

// Status codes of the registry calls, and of WinExec below 32.
const long kFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
const long kAccessDenied = 5;       // ERROR_ACCESS_DENIED
const long kInvalidHandle = 6;      // ERROR_INVALID_HANDLE
const long kInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
const long kBadPathname = 161;      // ERROR_BAD_PATHNAME
const long kMoreData = 234;         // ERROR_MORE_DATA
const long kNoMoreItems = 259;      // ERROR_NO_MORE_ITEMS

// RegOpenKeyExA's options and the rights it grants.
const std::uint32_t kOpenLink = 0x00000008u;          // REG_OPTION_OPEN_LINK
const std::uint32_t kQueryValue = 0x00000001u;        // KEY_QUERY_VALUE
const std::uint32_t kEnumerateSubKeys = 0x00000008u;  // KEY_ENUMERATE_SUB_KEYS
const std::uint32_t kKeyRead = 0x00020019u;           // KEY_READ
const std::uint32_t kGenericRead = 0x80000000u;       // GENERIC_READ, which maps to KEY_READ
const std::uint32_t kMaximumAllowed = 0x02000000u;    // MAXIMUM_ALLOWED
const std::uint32_t kWow64Views = 0x00000300u;        // KEY_WOW64_32KEY | KEY_WOW64_64KEY

// GetVersionExA's platforms and the sizes of the two records it fills.
const std::uint32_t kPlatformWin32s = 0;        // VER_PLATFORM_WIN32s
const std::uint32_t kPlatformWindows = 1;       // VER_PLATFORM_WIN32_WINDOWS
const std::uint32_t kPlatformNt = 2;            // VER_PLATFORM_WIN32_NT
const std::uint32_t kExtendedRecordSize = 156;  // sizeof (OSVERSIONINFOEXA)
const std::uint32_t kBasicRecordSize = 148;     // sizeof (OSVERSIONINFOA)

// MessageBoxA's type: the fields of its bits, the last button set and icon of each family, and
// the buttons' IDs.
const std::uint32_t kButtonsMask = 0x0000000Fu;        // MB_TYPEMASK
const std::uint32_t kIconMask = 0x000000F0u;           // MB_ICONMASK
const std::uint32_t kDefaultButtonMask = 0x00000F00u;  // MB_DEFMASK
const std::uint32_t kModalityMask = 0x00003000u;       // MB_MODEMASK
const std::uint32_t kLastButtons9x = 5;                // MB_RETRYCANCEL
const std::uint32_t kLastButtonsNt5 = 6;               // MB_CANCELTRYCONTINUE, new in Windows 2000
const std::uint32_t kFirstIcon = 0x00000010u;          // MB_ICONHAND
const std::uint32_t kLastIcon = 0x00000040u;           // MB_ICONASTERISK
const std::uint32_t kLastDefaultButton = 0x00000300u;  // MB_DEFBUTTON4
const int kIdOk = 1;                                   // IDOK
const int kIdCancel = 2;                               // IDCANCEL
const int kIdAbort = 3;                                // IDABORT
const int kIdRetry = 4;                                // IDRETRY
const int kIdYes = 6;                                  // IDYES
}  // namespace windows
