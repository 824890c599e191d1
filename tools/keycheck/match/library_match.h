// Each PCI device of a machine against a driver library: every models line that would install
// it on a version, ranked as that version's Setup ranks drivers, and the one it would choose.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "tools/keycheck/devices/pci_devices.h"
#include "tools/keycheck/match/driver_rank.h"

#include <string>
#include <unordered_set>
#include <vector>

// A models line of the library, with the INF it stands in, below the library.
struct LibraryLine {
    std::string inf;
    LibraryDriver driver;
};

struct MatchCandidate {
    const LibraryLine* line;
    DriverRank rank;
};

struct DeviceMatch {
    std::string key;  // the device key's name
    OsType version;   // the version whose Setup ranks
    DeviceIds ids;    // as the registry holds them, or the key's name where it holds none
    bool idsFromKey = false;
    std::vector<MatchCandidate> candidates;  // the one chosen first, then as Setup would rank
};

// The IDs of every device of the branches, upper case: the lines a survey keeps for match.
std::unordered_set<std::string> MachineIds(const std::vector<PciBranch>& branches);

// Each device of the branches, for each version: version alone when it is not OS_NONE, else
// 2000 and XP for 2000/XP's branch and 98 SE and Me for 98/Me's.
std::vector<DeviceMatch> MatchDevices(const std::vector<PciBranch>& branches,
                                      const std::vector<LibraryLine>& lines, OsType version);
