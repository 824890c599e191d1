// The names keycheck shows for Windows versions: the --os names, and the launcher's codes.
#include "tools/keycheck/predict/version_names.h"

std::string WindowsVersionOptions() {
    std::string list;
    for (int i = 0; i < kWindowsVersionCount; ++i) {
        const WindowsVersion& version = kWindowsVersions[i];
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
