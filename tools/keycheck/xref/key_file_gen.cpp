// keycheck gen: a key.ini made from the PCI IDs of the models the four versions read.
#include "tools/keycheck/xref/key_file_gen.h"

#include "device/device_id_table.h"
#include "tools/keycheck/xref/pci_id_form.h"

#include <algorithm>

namespace {
// The VEN_xxxx&DEV_xxxx of each PCI ID the models name, once each, in order.
std::vector<std::string> DeviceIds(const VersionInf& inf, std::vector<std::string>& skipped) {
    std::vector<std::string> ids;
    for (const ModelLine& line : inf.models.lines) {
        std::vector<std::string> named{line.hardwareId};
        named.insert(named.end(), line.compatibleIds.begin(), line.compatibleIds.end());
        for (const std::string& id : named) {
            PciIdParts parts;
            if (!ParsePciId(id, parts))
                continue;
            if (NamesNoSingleDevice(parts)) {
                if (std::find(skipped.begin(), skipped.end(), id) == skipped.end())
                    skipped.push_back(id);
                continue;
            }
            const std::string cut = "VEN_" + parts.vendor + "&DEV_" + parts.device;
            if (std::find(ids.begin(), ids.end(), cut) == ids.end())
                ids.push_back(cut);
        }
    }
    return ids;
}
}  // namespace

GeneratedKeyFile GenerateKeyFile(const CFakeOs& machine, const std::string& dir, int language) {
    GeneratedKeyFile result;
    std::vector<std::vector<std::string>> perVersion;
    for (OsType version : kInfVersions) {
        const VersionInf inf = ReadVersionInf(machine, dir, version, language);
        if (!inf.models.readable)
            for (const InfFinding& finding : inf.models.findings)
                result.unreadable.push_back(XrefFinding{finding.code,
                                                        finding.file,
                                                        finding.line,
                                                        {VersionOption(version)},
                                                        finding.text});
        perVersion.push_back(DeviceIds(inf, result.skipped));
        for (const std::string& id : perVersion.back()) {
            if (std::find(result.ids.begin(), result.ids.end(), id) == result.ids.end())
                result.ids.push_back(id);
        }
    }
    for (std::size_t v = 0; v < perVersion.size(); ++v) {
        VersionLack lack{kInfVersions[v], {}};
        for (const std::string& id : result.ids) {
            if (std::find(perVersion[v].begin(), perVersion[v].end(), id) == perVersion[v].end())
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
