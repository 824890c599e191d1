// What would install a device on one Windows version: the best models line of its INF.
//
// Thread rule: a pure function; any thread.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/package/version_inf.h"

#include <string>
#include <vector>

struct InstallVerdict {
    OsType version = OS_NONE;
    std::string label;         // "Windows XP", ...
    std::string inf;           // the INF that version is given, below the package folder
    bool infReadable = false;  // the version takes it as a device INF at all
    bool installs = false;     // one of its models lines names one of the device's IDs
    ModelLine line;            // the line Windows would rank first, when installs
    DeviceIdKind kind = DeviceIdKind::HardwareId;  // the device's list that held the ID
    std::string id;                                // the device's ID the line names
};

// Looks the device's IDs up in the models lines inf's version reads.
InstallVerdict FindInstall(const VersionInf& inf, const std::vector<std::string>& hardwareIds,
                           const std::vector<std::string>& compatibleIds);
