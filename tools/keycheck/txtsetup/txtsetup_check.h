// keycheck txtsetup: a driver disk's TXTSETUP.OEM checked by the rules text-mode setup goes by,
// and its PCI IDs against key.ini and the models Windows 2000 and XP read.
#pragma once

#include <string>
#include <vector>

class CFakeOs;

struct TxtSetupFinding {
    std::string code;
    std::string file;  // "TXTSETUP.OEM", or key.ini or the INF for the cross-check
    int line;          // 0 when about the whole file
    bool warning;      // setup tolerates it; a finding makes it fail or ignore something
    std::string text;  // with the page or article it comes from
};

struct TxtSetupResult {
    bool found = false;            // the folder holds TXTSETUP.OEM
    bool crossChecked = false;     // it also holds key.ini, so the three lists were compared
    std::vector<std::string> ids;  // the PCI IDs its [HardwareIds.scsi.*] sections name
    std::vector<TxtSetupFinding> findings;  // findings first, then warnings, each in line order
};

// The versions whose text-mode setup reads the file.
const char* const kTxtSetupVersions[] = {"2000", "xp"};

// What the F6 file's IDs are compared with: key.ini's table as the launcher leaves it, and the
// IDs of the models lines Windows 2000 and XP read.
struct TxtSetupLists {
    bool keyFileFound = false;
    std::vector<std::string> keyIniTable;
    std::vector<std::string> modelIds;
};

// Checks dir\TXTSETUP.OEM of the package or F6 floppy the fake machine holds in dir (a Windows
// folder ending in a backslash); dir is the floppy's root, where [Disks] paths start. The lists
// are read from the package unless a caller that has read them already hands them over.
TxtSetupResult CheckTxtSetup(CFakeOs& machine, const std::string& dir,
                             const TxtSetupLists* lists = nullptr);
