// Runs the launcher from start-up to its end against a CFakeOs, as the Windows program would.
#pragma once

#include "device/device_id_table.h"
#include "osinfo/os_type.h"
#include "sim/fake_os.h"

#include <string>
#include <utility>
#include <vector>

struct LauncherRun {
    int exitStatus = -1;
    bool endedByExitCall = false;  // ended by ExitProcess rather than by returning
    std::string appDir;
    std::string deviceId;  // m_strDeviceId as the run left it: the key's name and a closing quote
    // The name of the device key the NT search took, without the quote; empty when none.
    std::string DeviceKeyName() const {
        return deviceId.empty() ? deviceId : deviceId.substr(0, deviceId.size() - 1);
    }
    OsType osType = OS_NONE;
    bool keyFileRead = false;  // the loader read key.ini
    DeviceIdTable listed{};    // the device-ID table the run was left with
};

// Constructs the application object, runs the framework's main function on os (installed for
// the run), and reports how it ended; the message boxes, calls and machine state stay in os.
// Each run is a fresh process: the launcher's static data starts zeroed, as the program loader
// leaves it.
LauncherRun RunLauncher(CFakeOs& os);

// Sets the version os reports from the name Wine uses for it (win31 ... win10), plus win98fe
// for Windows 98 first edition.
void SetWindowsVersion(CFakeOs& os, const std::string& name);

// The files of a driver package, below its folder: key.ini with keyIni, install.exe, and every
// file of the drv folder, each holding its own name so that copies can be told apart.
std::vector<std::pair<std::string, std::string>> PackageFileList(const std::string& keyIni);

// Puts the driver package of PackageFileList into folder dir (ending in a backslash).
void AddPackage(CFakeOs& os, const std::string& dir, const std::string& keyIni);

// The PCI branch the launcher searches on each Windows family.
extern const char* const kNtPciBranch;  // SYSTEM\CurrentControlSet\Enum\PCI
extern const char* const k9xPciBranch;  // Enum\PCI
