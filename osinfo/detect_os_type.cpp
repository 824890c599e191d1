// Classifies the Windows version record into the launcher's OsType.
#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"

#include "platform/win32_values.h"

#include <cstring>

namespace {
const std::uint32_t kExtendedRecordSize = 156;  // OSVERSIONINFOEXA
const std::uint32_t kBasicRecordSize = 148;     // OSVERSIONINFOA, all Windows 95 and NT 4 take
// Two boundaries that happen to share a number: 98 SE's build (98 is below it, Me above), and
// the last build the NT family's 5.x counts as 2000 (2000 is 2195, XP 2600).
const std::uint32_t kWin98SeBuild = 2222;
const std::uint32_t kLastWin2000Build = 2222;

bool IsAbove40(const OsVersionInfo& info) {
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0);
}
}  // namespace

bool CDriverSetupApp::DetectOsType(OsType& os) {
    OsVersionInfo info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = kExtendedRecordSize;
    if (!Os().GetVersionExA(&info)) {
        info.dwOSVersionInfoSize = kBasicRecordSize;
        if (!Os().GetVersionExA(&info)) {
            Os().MessageBoxA(nullptr, kTextVersionProblem, kCaptionVersionQueryFailed, MB_OK);
            return false;
        }
    }

    os = OS_NONE;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        os = OS_WIN32S;
        break;
    case VER_PLATFORM_WIN32_WINDOWS: {
        if (!IsAbove40(info)) {
            os = OS_WIN95;
            break;
        }
        // The high word of the build field holds the major and minor version on this platform.
        const std::uint32_t build = info.dwBuildNumber & 0xFFFFu;
        os = OS_WIN98;
        if (build > kWin98SeBuild)
            os = OS_WINME;
        else if (build == kWin98SeBuild)
            os = OS_WIN98SE;
        break;
    }
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion <= 4)
            os = OS_WINNT4;
        else if (info.dwMajorVersion == 5)
            os = info.dwBuildNumber <= kLastWin2000Build ? OS_WIN2000 : OS_WINXP;
        break;
    default:
        os = OS_NONE;
        Os().MessageBoxA(nullptr, kTextVersionProblem, kCaptionUnknownPlatform, MB_OK);
        return false;
    }
    return true;
}
