// Runs the real launcher on the machine a registry describes, with the package at the folder it
// runs from, and records, step by step, what it did there.
//
// Thread rule: any thread; the run is one launcher run, under the process's one lock.
#pragma once

#include "osinfo/os_type.h"
#include "sim/fake_os.h"
#include "sim/windows_versions.h"
#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct SubkeyVerdict {
    std::string name;
    bool reached;      // the launcher read its name
    int matchedEntry;  // the table index of the first listed ID found in the name, or -1
};

struct PathInPackage {
    std::string path;
    bool present;  // the file is in the package (compared without regard to case)
};

struct CopyStep {
    PathInPackage source;
    std::string destination;
};

struct Prediction {
    OsType osType = OS_NONE;
    std::string appDir;  // the program folder the launcher worked out
    bool keyFileRead = false;
    std::vector<std::string> table;  // the device-ID table after the run
    bool searched = false;           // the launcher opened a PCI branch, or tried to
    std::string branch;              // below HKEY_LOCAL_MACHINE
    bool branchInExport = false;
    std::vector<SubkeyVerdict> subkeys;  // in the order the fake enumerates them
    int taken = -1;                      // index into subkeys of the device's key, or -1
    std::vector<std::string> commandLines;
    std::vector<PathInPackage> commandFiles;  // the program and the INF the command names
    std::vector<std::string> keysDeleted;     // below the branch
    std::vector<CopyStep> copies;
    std::vector<FakeMessageBox> boxes;
    int exitStatus = -1;

    // The launcher would install: run the installer, or remove the device's key for Windows
    // to detect it afresh.
    bool Installs() const { return !commandLines.empty() || !keysDeleted.empty(); }
};

// Where and on what the launcher runs.
struct LauncherSetting {
    const WindowsVersion* version;
    std::string dir;         // the folder it runs from, ending in a backslash: "D:\"
    std::string windowsDir;  // without a backslash at the end but at a drive's root: "C:\WINDOWS"
    int codePage = 1252;
};

// Runs the launcher on a simulated machine of the setting's version and code page, holding
// machine's keys under HKEY_LOCAL_MACHINE (in the source's order) and the package's files at
// the setting's folder, with the launcher beside them as setup.exe.
Prediction PredictLauncher(const Package& package, const MachineSource& machine,
                           const LauncherSetting& setting);
