// Whether the install the launcher starts would work: the INF that version is given has a
// models line for the device found.
#include "tools/keycheck/predict/install_check.h"

#include "tools/keycheck/devices/pci_devices.h"
#include "tools/keycheck/findings/checked_versions.h"

#include <algorithm>

namespace {
bool IsInfVersion(OsType type) {
    return std::find(std::begin(kInfVersions), std::end(kInfVersions), type) !=
           std::end(kInfVersions);
}

// The first instance of the device key name in the branch that has IDs, or null.
const DeviceInstance* InstanceWithIds(const std::vector<PciBranch>& branches,
                                      const std::string& branchPath, const std::string& name) {
    for (const PciBranch& branch : branches) {
        if (branch.path != branchPath)
            continue;
        for (const PciDevice& device : branch.devices) {
            if (device.name != name)
                continue;
            for (const DeviceInstance& instance : device.instances) {
                if (!instance.hardwareIds.empty() || !instance.compatibleIds.empty())
                    return &instance;
            }
        }
    }
    return nullptr;
}
}  // namespace

InstallCheck CheckInstall(const Package& package, const MachineSource& machine,
                          const Prediction& prediction, bool readCatalogs) {
    InstallCheck check;
    if (!prediction.Installs() || prediction.taken < 0 || !IsInfVersion(prediction.osType))
        return check;
    check.checked = true;
    const std::string& name = prediction.subkeys[static_cast<std::size_t>(prediction.taken)].name;
    const std::vector<PciBranch> branches = FindPciDevices(machine, package.reading.codePage);
    const DeviceInstance* instance = InstanceWithIds(branches, prediction.branch, name);
    check.idsFromExport = instance != nullptr;
    if (instance != nullptr) {
        check.hardwareIds = instance->hardwareIds;
        check.compatibleIds = instance->compatibleIds;
    } else {
        check.hardwareIds = {"PCI\\" + name};
    }
    check.verdict =
        FindInstall(package.InfFor(prediction.osType), check.hardwareIds, check.compatibleIds);
    if (IsNtVersion(prediction.osType)) {
        for (const InfSigning& signing : CheckPackageSigning(package, readCatalogs).infs) {
            if (signing.version == prediction.osType) {
                check.signingChecked = true;
                check.signing = signing;
            }
        }
    }
    return check;
}
