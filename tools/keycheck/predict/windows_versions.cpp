// The Windows versions keycheck can put the launcher on, by their --os names.
#include "tools/keycheck/predict/windows_versions.h"

namespace {
const WindowsVersion kVersions[] = {
    {"31", "win31", "Windows 3.1 with Win32s"},
    {"95", "win95", "Windows 95"},
    {"98", "win98fe", "Windows 98 (first edition)"},
    {"98se", "win98", "Windows 98 SE"},
    {"me", "winme", "Windows Me"},
    {"nt4", "nt40", "Windows NT 4.0"},
    {"2000", "win2k", "Windows 2000"},
    {"xp", "winxp", "Windows XP"},
    {"2003", "win2003", "Windows Server 2003"},
    {"vista", "vista", "Windows Vista"},
    {"10", "win10", "Windows 10"},
};
}  // namespace

const WindowsVersion* FindWindowsVersion(const std::string& option) {
    for (const WindowsVersion& version : kVersions) {
        if (option == version.option)
            return &version;
    }
    return nullptr;
}

std::string WindowsVersionOptions() {
    std::string list;
    for (const WindowsVersion& version : kVersions) {
        if (!list.empty())
            list += ", ";
        list += version.option;
    }
    return list;
}

const char* OsTypeName(OsType type) {
    switch (type) {
    case OS_WIN32S:
        return "OS_WIN32S";
    case OS_WIN95:
        return "OS_WIN95";
    case OS_WIN98:
        return "OS_WIN98";
    case OS_WIN98SE:
        return "OS_WIN98SE";
    case OS_WINNT4:
        return "OS_WINNT4";
    case OS_WIN2000:
        return "OS_WIN2000";
    case OS_WINME:
        return "OS_WINME";
    case OS_WINXP:
        return "OS_WINXP";
    default:
        return "OS_NONE";
    }
}
