// The Windows versions the simulated machine can be, each in one row: its names, its version
// record, and the code the launcher installs it as.
#pragma once

#include "osinfo/os_type.h"

#include <cstdint>
#include <string>

struct WindowsVersion {
    const char* option;    // keycheck's --os name, such as "98se"
    const char* wineName;  // the name Wine knows it by, such as "win98"; win98fe is ours
    const char* label;     // "Windows 98 SE"
    std::uint32_t platform, major, minor, build;  // what GetVersionExA reports
    OsType installsAs;  // the launcher's code for a version it installs on, else OS_NONE
};

// Every version, oldest first.
extern const WindowsVersion kWindowsVersions[];
extern const int kWindowsVersionCount;

// The version of that --os name, of that Wine name, or the first one the launcher installs as
// code; null when there is none.
const WindowsVersion* WindowsVersionByOption(const std::string& option);
const WindowsVersion* WindowsVersionByWineName(const std::string& wineName);
const WindowsVersion* WindowsVersionInstalledAs(OsType code);
