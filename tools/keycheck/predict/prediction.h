// Runs the real launcher on the fake machine and records, step by step, what it did there.
#pragma once

#include "osinfo/os_type.h"
#include "sim/fake_os.h"

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

// Runs the launcher on machine, which holds the package, the version and the registry.
Prediction PredictLauncher(CFakeOs& machine);
