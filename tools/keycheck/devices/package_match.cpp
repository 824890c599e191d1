// The devices of an export against a driver package: the key.ini entry each device key holds,
// and the models line that would install each instance.
#include "tools/keycheck/devices/package_match.h"

#include "device/listed_id_match.h"
#include "sim/fake_os.h"
#include "tools/keycheck/package/package_lint.h"

PackageMatch MatchPackage(CFakeOs& machine, const std::string& dir,
                          std::vector<PciBranch>& branches, int language) {
    const FakeOsInstalled installed(machine);
    // LintPackage loads key.ini with the launcher's loader and keeps the table it fills.
    const LintResult keyFile = LintPackage(machine, dir);
    PackageMatch match{keyFile.keyFileFound, keyFile.table};
    std::vector<VersionInf> infs;
    for (const OsType version : kInfVersions)
        infs.push_back(ReadVersionInf(machine, dir, version, language));
    for (PciBranch& branch : branches) {
        for (PciDevice& device : branch.devices) {
            device.matchedEntry = FirstListedIdIn(keyFile.listed, device.name.c_str());
            for (DeviceInstance& instance : device.instances) {
                for (const VersionInf& inf : infs) {
                    if (IsNtVersion(inf.version) == branch.nt)
                        instance.installs.push_back(
                            FindInstall(inf, instance.hardwareIds, instance.compatibleIds));
                }
            }
        }
    }
    return match;
}
