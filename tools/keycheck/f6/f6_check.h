// The F6 checks: a package's or floppy's TXTSETUP.OEM checked by the rules Windows 2000 and XP
// text-mode setup goes by, and its PCI IDs against key.ini and the models 2000 and XP read.
//
// Thread rule: a pure function of the package; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct F6Check {
    bool found = false;            // the folder holds TXTSETUP.OEM
    bool crossChecked = false;     // it also holds key.ini, so the three lists were compared
    std::vector<std::string> ids;  // the PCI IDs its [HardwareIds.scsi.*] sections name
    // Findings first, then warnings, each in line order; file "TXTSETUP.OEM" and line 0 for
    // the comparison of the lists. Each holds for kF6Versions, and names none.
    std::vector<Finding> findings;
};

// Checks the package's TXTSETUP.OEM; its [Disks] paths start at the package's root, the
// floppy's root. The lists are the package's key.ini and the models its 2000 and XP INF name.
// With readCatalogs (and a build that reads them), an option's catalog is read and checked.
F6Check CheckF6File(const Package& package, bool readCatalogs);
