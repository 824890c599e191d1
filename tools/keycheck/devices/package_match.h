// The devices of a machine against a driver package: the key.ini entry each device key holds,
// and the models line that would install each instance.
//
// Thread rule: any thread; the launcher's match runs as one launcher run.
#pragma once

#include "tools/keycheck/devices/pci_devices.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct PackageMatch {
    bool keyFileRead = false;
    std::vector<std::string> table;  // the launcher's device-ID table
};

// Sets each device's matchedEntry by the launcher's own match of the package's key.ini, and
// each instance's installs by the INF each version of its branch's family is given.
PackageMatch MatchPackage(const Package& package, std::vector<PciBranch>& branches);
