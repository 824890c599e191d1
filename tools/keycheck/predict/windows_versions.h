// The Windows versions keycheck can put the launcher on, by their --os names.
#pragma once

#include "osinfo/os_type.h"
#include "sim/windows_versions.h"

#include <string>

// The version of an --os name, or null.
inline const WindowsVersion* FindWindowsVersion(const std::string& option) {
    return WindowsVersionByOption(option);
}
// The --os names, comma-separated.
std::string WindowsVersionOptions();

// The launcher's constant for an OsType code, such as "OS_WINXP".
const char* OsTypeName(OsType type);
