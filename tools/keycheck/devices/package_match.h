// The devices of an export against a driver package: the key.ini entry each device key holds,
// and the models line that would install each instance.
#pragma once

#include "tools/keycheck/devices/pci_devices.h"

#include <string>
#include <vector>

class CFakeOs;

struct PackageMatch {
    bool keyFileRead = false;
    std::vector<std::string> table;  // the launcher's device-ID table
};

// Loads key.ini from dir (the package's Windows folder in machine) with the launcher's own
// loader and sets each device's matchedEntry by the launcher's own rule; reads the INF each
// version of a branch's family is given (with the strings of language, 0: the code page's own)
// and sets each instance's installs.
PackageMatch MatchPackage(CFakeOs& machine, const std::string& dir,
                          std::vector<PciBranch>& branches, int language = 0);
