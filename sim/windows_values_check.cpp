// Windows build only: the Win32 values the launcher passes, and those the simulated machine
// takes and answers with, are the SDK's; this file compiles only if each agrees.
#include "platform/win32_values.h"
#include "sim/windows_values.h"

#include <cstdint>

// The launcher's values, taken before <windows.h> makes their names macros.
namespace launcher {
constexpr std::uint32_t kKeyRead = KEY_READ;
constexpr std::uint32_t kKeyAllAccess = KEY_ALL_ACCESS;
constexpr long kErrorSuccess = ERROR_SUCCESS;
constexpr std::uint32_t kMbOk = MB_OK;
constexpr std::uint32_t kMbIconExclamation = MB_ICONEXCLAMATION;
constexpr std::uint32_t kSwHide = SW_HIDE;
constexpr std::uint32_t kPlatformWin32s = VER_PLATFORM_WIN32s;
constexpr std::uint32_t kPlatformWindows = VER_PLATFORM_WIN32_WINDOWS;
constexpr std::uint32_t kPlatformNt = VER_PLATFORM_WIN32_NT;
}  // namespace launcher

#include <windows.h>

#define SDK_VALUE(ours, sdk)                                                                       \
    static_assert(static_cast<std::uint32_t>(ours) == static_cast<std::uint32_t>(sdk),             \
                  #ours " is not " #sdk)

// HKEY_LOCAL_MACHINE is a cast to a pointer in the SDK, which no constant expression can read:
// the Wine end-to-end cases, which find the device keys, check the launcher's, and the host
// tests hold the simulated machine's to it.
SDK_VALUE(launcher::kKeyRead, KEY_READ);
SDK_VALUE(launcher::kKeyAllAccess, KEY_ALL_ACCESS);
SDK_VALUE(launcher::kErrorSuccess, ERROR_SUCCESS);
SDK_VALUE(launcher::kMbOk, MB_OK);
SDK_VALUE(launcher::kMbIconExclamation, MB_ICONEXCLAMATION);
SDK_VALUE(launcher::kSwHide, SW_HIDE);
SDK_VALUE(launcher::kPlatformWin32s, VER_PLATFORM_WIN32s);
SDK_VALUE(launcher::kPlatformWindows, VER_PLATFORM_WIN32_WINDOWS);
SDK_VALUE(launcher::kPlatformNt, VER_PLATFORM_WIN32_NT);

SDK_VALUE(windows::kFileNotFound, ERROR_FILE_NOT_FOUND);
SDK_VALUE(windows::kAccessDenied, ERROR_ACCESS_DENIED);
SDK_VALUE(windows::kInvalidHandle, ERROR_INVALID_HANDLE);
SDK_VALUE(windows::kInvalidParameter, ERROR_INVALID_PARAMETER);
SDK_VALUE(windows::kBadPathname, ERROR_BAD_PATHNAME);
SDK_VALUE(windows::kMoreData, ERROR_MORE_DATA);
SDK_VALUE(windows::kNoMoreItems, ERROR_NO_MORE_ITEMS);
SDK_VALUE(windows::kOpenLink, REG_OPTION_OPEN_LINK);
SDK_VALUE(windows::kQueryValue, KEY_QUERY_VALUE);
SDK_VALUE(windows::kEnumerateSubKeys, KEY_ENUMERATE_SUB_KEYS);
SDK_VALUE(windows::kKeyRead, KEY_READ);
SDK_VALUE(windows::kGenericRead, GENERIC_READ);
SDK_VALUE(windows::kMaximumAllowed, MAXIMUM_ALLOWED);
SDK_VALUE(windows::kWow64Views, KEY_WOW64_32KEY | KEY_WOW64_64KEY);
SDK_VALUE(windows::kPlatformWin32s, VER_PLATFORM_WIN32s);
SDK_VALUE(windows::kPlatformWindows, VER_PLATFORM_WIN32_WINDOWS);
SDK_VALUE(windows::kPlatformNt, VER_PLATFORM_WIN32_NT);
SDK_VALUE(windows::kExtendedRecordSize, sizeof(OSVERSIONINFOEXA));
SDK_VALUE(windows::kBasicRecordSize, sizeof(OSVERSIONINFOA));
SDK_VALUE(windows::kButtonsMask, MB_TYPEMASK);
SDK_VALUE(windows::kIconMask, MB_ICONMASK);
SDK_VALUE(windows::kDefaultButtonMask, MB_DEFMASK);
SDK_VALUE(windows::kModalityMask, MB_MODEMASK);
SDK_VALUE(windows::kLastButtons9x, MB_RETRYCANCEL);
SDK_VALUE(windows::kLastButtonsNt5, MB_CANCELTRYCONTINUE);
SDK_VALUE(windows::kFirstIcon, MB_ICONHAND);
SDK_VALUE(windows::kLastIcon, MB_ICONASTERISK);
SDK_VALUE(windows::kLastDefaultButton, MB_DEFBUTTON4);
SDK_VALUE(windows::kIdOk, IDOK);
SDK_VALUE(windows::kIdCancel, IDCANCEL);
SDK_VALUE(windows::kIdAbort, IDABORT);
SDK_VALUE(windows::kIdRetry, IDRETRY);
SDK_VALUE(windows::kIdYes, IDYES);
