// Each PCI device of a machine against a driver library.
#include "tools/keycheck/match/library_match.h"

#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>

namespace {
DeviceIds IdsOf(const PciDevice& device, bool& fromKey) {
    DeviceIds ids;
    for (const DeviceInstance& instance : device.instances) {
        if (!instance.hardwareIds.empty() || !instance.compatibleIds.empty()) {
            ids.hardware = instance.hardwareIds;
            ids.compatible = instance.compatibleIds;
            fromKey = false;
            return ids;
        }
    }
    // An export without the instance's IDs: the key's name is the device's hardware ID, as the
    // launcher hands it to the installer.
    fromKey = true;
    ids.hardware.push_back("PCI\\" + device.name);
    return ids;
}
}  // namespace

std::unordered_set<std::string> MachineIds(const std::vector<PciBranch>& branches) {
    std::unordered_set<std::string> ids;
    for (const PciBranch& branch : branches) {
        for (const PciDevice& device : branch.devices) {
            bool fromKey = false;
            const DeviceIds each = IdsOf(device, fromKey);
            for (const auto* list : {&each.hardware, &each.compatible}) {
                for (const std::string& id : *list)
                    ids.insert(AsciiUpper(id));
            }
        }
    }
    return ids;
}

std::vector<DeviceMatch> MatchDevices(const std::vector<PciBranch>& branches,
                                      const std::vector<LibraryLine>& lines, OsType version) {
    std::vector<DeviceMatch> matches;
    for (const PciBranch& branch : branches) {
        std::vector<OsType> versions{version};
        if (version == OS_NONE)
            versions = branch.nt ? std::vector<OsType>{OS_WIN2000, OS_WINXP}
                                 : std::vector<OsType>{OS_WIN98SE, OS_WINME};
        for (const PciDevice& device : branch.devices) {
            for (OsType each : versions) {
                DeviceMatch match;
                match.key = device.name;
                match.version = each;
                match.ids = IdsOf(device, match.idsFromKey);
                for (const LibraryLine& line : lines) {
                    if (line.driver.version != each)
                        continue;
                    const DriverRank rank = RankDriver(match.ids, line.driver);
                    if (rank.matched)
                        match.candidates.push_back(MatchCandidate{&line, rank});
                }
                std::stable_sort(match.candidates.begin(), match.candidates.end(),
                                 [](const MatchCandidate& a, const MatchCandidate& b) {
                                     return ChosenOver(a.rank, a.line->driver, b.rank,
                                                       b.line->driver);
                                 });
                matches.push_back(std::move(match));
            }
        }
    }
    return matches;
}
