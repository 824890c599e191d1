// The devices of a machine against a driver package: the key.ini entry each device key holds,
// and the models line that would install each instance.
#include "tools/keycheck/devices/package_match.h"

#include "tools/keycheck/findings/checked_versions.h"

PackageMatch MatchPackage(const Package& package, std::vector<PciBranch>& branches) {
    const KeyFile& keyFile = package.keyFile;
    PackageMatch match{keyFile.found, keyFile.table};
    std::vector<std::string> names;
    for (const PciBranch& branch : branches) {
        for (const PciDevice& device : branch.devices)
            names.push_back(device.name);
    }
    const std::vector<int> entries =
        ListedEntriesIn(keyFile.listed, names, package.reading.codePage);
    std::size_t next = 0;
    for (PciBranch& branch : branches) {
        for (PciDevice& device : branch.devices) {
            device.matchedEntry = entries[next++];
            for (DeviceInstance& instance : device.instances) {
                for (const VersionInf& inf : package.infs) {
                    if (IsNtVersion(inf.version) == branch.nt)
                        instance.installs.push_back(
                            FindInstall(inf, instance.hardwareIds, instance.compatibleIds));
                }
            }
        }
    }
    return match;
}
