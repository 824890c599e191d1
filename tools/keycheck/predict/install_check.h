// Whether the install the launcher starts would work: the INF that version is given has a
// models line for the device found.
//
// Thread rule: a pure function of its arguments; any thread.
#pragma once

#include "tools/keycheck/devices/install_lookup.h"
#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/predict/prediction.h"
#include "tools/keycheck/signing/signing_check.h"

#include <string>
#include <vector>

struct InstallCheck {
    bool checked = false;  // the launcher installs, on 98 SE, Me, 2000 or XP
    // The device's IDs come from its first instance key that has HardwareID or CompatibleIDs
    // in the export; else the key name stands for its one hardware ID, as the launcher hands
    // it to the installer.
    bool idsFromExport = false;
    std::vector<std::string> hardwareIds;
    std::vector<std::string> compatibleIds;
    InstallVerdict verdict;
    // On 2000 and XP: whether the version trusts the driver, or the prompt it meets.
    bool signingChecked = false;
    InfSigning signing;
};

// Looks the device the launcher took up in the INF the package gives the version, with the IDs
// the machine's registry holds for it; with readCatalogs, whether the version trusts the driver.
InstallCheck CheckInstall(const Package& package, const MachineSource& machine,
                          const Prediction& prediction, bool readCatalogs);
