// The PCI devices a machine's registry holds, in either family's enumeration branch.
//
// Thread rule: a pure function of the machine; any thread.
#pragma once

#include "tools/keycheck/devices/install_lookup.h"
#include "tools/keycheck/machine/machine_source.h"

#include <string>
#include <vector>

// One instance key below a device key: where Windows keeps what it knows of the device.
struct DeviceInstance {
    std::string name;
    bool hasDescription = false;
    std::string description;  // DeviceDesc
    std::vector<std::string> hardwareIds;
    std::vector<std::string> compatibleIds;
    // Against a package: what would install it on each version of the branch's family.
    std::vector<InstallVerdict> installs;
};

// A device key, named after the device's hardware ID: the name the launcher matches.
struct PciDevice {
    std::string name;
    std::vector<DeviceInstance> instances;
    int matchedEntry = -1;  // against a package: the key.ini entry the launcher finds in name
};

struct PciBranch {
    std::string path;                // below HKEY_LOCAL_MACHINE
    bool nt;                         // 2000/XP's branch; else 98 SE/Me's
    std::vector<PciDevice> devices;  // in the export's order
};

// The branches the machine holds, 2000/XP's first, with their devices. HardwareID and
// CompatibleIDs are multi-strings on 2000/XP and comma-separated strings on 98 SE/Me; either
// form is read in either branch.
std::vector<PciBranch> FindPciDevices(const MachineSource& machine, int codePage);

// devices' exit status: 0 when the machine holds a PCI branch; 1 (kNoPciBranch) when it holds
// neither 98/Me's HKLM\Enum\PCI nor 2000/XP's SYSTEM\CurrentControlSet\Enum\PCI, which is
// predict's status there too, as the launcher finds no device and refuses.
const int kNoPciBranch = 1;
int DevicesExitStatus(const std::vector<PciBranch>& branches);
