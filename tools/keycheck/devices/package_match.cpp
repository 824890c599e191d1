// The devices of an export against a driver package: which key.ini entry each device key holds.
#include "tools/keycheck/devices/package_match.h"

#include "device/listed_id_match.h"
#include "tools/keycheck/package/package_lint.h"

PackageMatch MatchPackage(CFakeOs& machine, const std::string& dir,
                          std::vector<PciBranch>& branches) {
    // LintPackage loads key.ini into the launcher's table, which FirstListedIdIn reads.
    const LintResult keyFile = LintPackage(machine, dir);
    PackageMatch match{keyFile.keyFileFound, keyFile.table};
    for (PciBranch& branch : branches) {
        for (PciDevice& device : branch.devices)
            device.matchedEntry = FirstListedIdIn(device.name.c_str());
    }
    return match;
}
