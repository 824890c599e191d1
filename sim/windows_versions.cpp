// The Windows versions the simulated machine can be, each in one row: its names, its version
// record, and the code the launcher installs it as.
//
// The records are those Wine reports for each version (Windows 98 SE's build field holds 2222
// in its low word, Me's 3000); Windows 98 first edition (build 1998) is ours, as Wine has no
// setting for it.
#include "sim/windows_versions.h"

#include "sim/windows_values.h"

const WindowsVersion kWindowsVersions[] = {
    {"31", "win31", "Windows 3.1 with Win32s", windows::kPlatformWin32s, 3, 10, 0, OS_NONE},
    {"95", "win95", "Windows 95", windows::kPlatformWindows, 4, 0, 0x040003B6, OS_NONE},
    {"98", "win98fe", "Windows 98 (first edition)", windows::kPlatformWindows, 4, 10, 0x040A07CE,
     OS_NONE},
    {"98se", "win98", "Windows 98 SE", windows::kPlatformWindows, 4, 10, 0x040A08AE, OS_WIN98SE},
    {"me", "winme", "Windows Me", windows::kPlatformWindows, 4, 90, 0x045A0BB8, OS_WINME},
    {"nt4", "nt40", "Windows NT 4.0", windows::kPlatformNt, 4, 0, 1381, OS_NONE},
    {"2000", "win2k", "Windows 2000", windows::kPlatformNt, 5, 0, 2195, OS_WIN2000},
    {"xp", "winxp", "Windows XP", windows::kPlatformNt, 5, 1, 2600, OS_WINXP},
    {"2003", "win2003", "Windows Server 2003", windows::kPlatformNt, 5, 2, 3790, OS_WINXP},
    {"vista", "vista", "Windows Vista", windows::kPlatformNt, 6, 0, 6002, OS_NONE},
    {"10", "win10", "Windows 10", windows::kPlatformNt, 6, 2, 9200, OS_NONE},
};
const int kWindowsVersionCount = sizeof kWindowsVersions / sizeof kWindowsVersions[0];

namespace {
template <typename Matches> const WindowsVersion* FirstVersion(Matches matches) {
    for (const WindowsVersion& version : kWindowsVersions) {
        if (matches(version))
            return &version;
    }
    return nullptr;
}
}  // namespace

const WindowsVersion* WindowsVersionByOption(const std::string& option) {
    return FirstVersion([&](const WindowsVersion& v) { return option == v.option; });
}

const WindowsVersion* WindowsVersionByWineName(const std::string& wineName) {
    return FirstVersion([&](const WindowsVersion& v) { return wineName == v.wineName; });
}

const WindowsVersion* WindowsVersionInstalledAs(OsType code) {
    return FirstVersion(
        [&](const WindowsVersion& v) { return code != OS_NONE && code == v.installsAs; });
}
