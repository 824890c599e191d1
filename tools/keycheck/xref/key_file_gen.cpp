// keycheck gen: a key.ini made from the PCI IDs of the models the four versions read.
#include "tools/keycheck/xref/key_file_gen.h"

#include "device/device_id_table.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/pciid/pci_id.h"

#include <algorithm>
#include <unordered_set>

namespace {
// The VEN_xxxx&DEV_xxxx of each PCI ID the models name, once each, in order.
std::vector<std::string> DeviceIds(const VersionInf& inf, std::vector<std::string>& skipped) {
    std::vector<std::string> ids;
    std::unordered_set<std::string> named;
    for (const ModelLine& line : inf.models.lines) {
        std::vector<std::string> lineIds{line.hardwareId};
        lineIds.insert(lineIds.end(), line.compatibleIds.begin(), line.compatibleIds.end());
        for (const std::string& id : lineIds) {
            PciIdParts parts;
            if (!ParsePciId(id, parts))
                continue;
            if (NamesNoSingleDevice(parts)) {
                if (std::find(skipped.begin(), skipped.end(), id) == skipped.end())
                    skipped.push_back(id);
                continue;
            }
            const std::string cut = "VEN_" + parts.vendor + "&DEV_" + parts.device;
            if (named.insert(cut).second)
                ids.push_back(cut);
        }
    }
    return ids;
}
}  // namespace

GeneratedKeyFile GenerateKeyFile(const Package& package) {
    GeneratedKeyFile result;
    std::vector<std::unordered_set<std::string>> perVersion;
    std::unordered_set<std::string> all;
    for (const VersionInf& inf : package.infs) {
        if (!inf.models.readable) {
            for (Finding finding : inf.models.findings) {
                finding.versions = {VersionOption(inf.version)};
                result.unreadable.push_back(finding);
            }
        }
        const std::vector<std::string> ids = DeviceIds(inf, result.skipped);
        perVersion.emplace_back(ids.begin(), ids.end());
        for (const std::string& id : ids) {
            if (all.insert(id).second)
                result.ids.push_back(id);
        }
    }
    for (std::size_t v = 0; v < perVersion.size(); ++v) {
        VersionLack lack{package.infs[v].version, {}};
        for (const std::string& id : result.ids) {
            if (perVersion[v].count(id) == 0)
                lack.ids.push_back(id);
        }
        if (!lack.ids.empty())
            result.lacks.push_back(lack);
    }

    if (result.ids.empty()) {
        result.refusal = "the models of the four versions name no PCI device";
        return result;
    }
    if (result.ids.size() > static_cast<std::size_t>(kMaxDeviceIds)) {
        result.refusal = std::to_string(result.ids.size()) +
                         " IDs: the launcher reads only the first " +
                         std::to_string(kMaxDeviceIds) + " entries of key.ini";
        return result;
    }
    // The launcher ends each value at a carriage return, so every line ends in CR LF.
    result.text = "[PCI]\r\n";
    for (std::size_t i = 0; i < result.ids.size(); ++i)
        result.text += "ID" + std::to_string(i + 1) + "=" + result.ids[i] + "\r\n";
    return result;
}
