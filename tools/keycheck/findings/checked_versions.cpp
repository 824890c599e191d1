// The Windows versions keycheck checks a package for, and which of them read what.
#include "tools/keycheck/findings/checked_versions.h"

#include "sim/windows_versions.h"

bool IsNtVersion(OsType version) {
    return version == OS_WIN2000 || version == OS_WINXP;
}

const char* VersionOption(OsType version) {
    return WindowsVersionInstalledAs(version)->option;
}

const char* VersionLabel(OsType version) {
    return WindowsVersionInstalledAs(version)->label;
}
