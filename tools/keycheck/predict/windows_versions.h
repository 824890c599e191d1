// The Windows versions keycheck can put the launcher on, by their --os names.
#pragma once

#include "osinfo/os_type.h"

#include <string>

struct WindowsVersion {
    const char* option;    // the --os name
    const char* wineName;  // the name SetWindowsVersion and Wine know it by
    const char* label;
};

// The version of an --os name, or null.
const WindowsVersion* FindWindowsVersion(const std::string& option);
// The --os names, comma-separated.
std::string WindowsVersionOptions();

// The launcher's constant for an OsType code, such as "OS_WINXP".
const char* OsTypeName(OsType type);
