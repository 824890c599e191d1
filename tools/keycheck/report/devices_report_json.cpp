// Prints the result of keycheck devices as one JSON document.
#include "tools/keycheck/report/devices_report.h"
#include "tools/keycheck/report/install_report.h"
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/machine_report.h"

namespace {
Json Strings(const std::vector<std::string>& texts) {
    Json list = Json::array();
    for (const std::string& text : texts)
        list.push_back(JsonBytes(text));
    return list;
}

Json InstanceJson(const DeviceInstance& instance, const PackageMatch* package) {
    Json json{{"name", JsonBytes(instance.name)},
              {"deviceDesc", JsonBytesOrNull(instance.hasDescription, instance.description)},
              {"hardwareIds", Strings(instance.hardwareIds)},
              {"compatibleIds", Strings(instance.compatibleIds)}};
    if (package != nullptr) {
        Json installs = Json::array();
        for (const InstallVerdict& verdict : instance.installs)
            installs.push_back(InstallJson(verdict));
        json["infLines"] = installs;
    }
    return json;
}

Json DeviceJson(const PciDevice& device, const PackageMatch* package) {
    Json json{{"name", JsonBytes(device.name)}};
    if (package != nullptr) {
        const bool matched = device.matchedEntry >= 0;
        json["matchedEntry"] = matched ? Json(device.matchedEntry + 1) : Json(nullptr);
        json["matchedId"] = JsonBytesOrNull(
            matched, matched ? package->table[static_cast<std::size_t>(device.matchedEntry)] : "");
    }
    Json instances = Json::array();
    for (const DeviceInstance& instance : device.instances)
        instances.push_back(InstanceJson(instance, package));
    json["instances"] = instances;
    return json;
}
}  // namespace

void PrintDevicesJson(const Options& options, const MachineSource& machine,
                      const std::vector<PciBranch>& branches, const PackageMatch* package,
                      std::ostream& out) {
    Json json{{"command", "devices"},
              {"registry", MachineJson(options.registry, machine)},
              {"codePage", options.codePage}};
    json["package"] = package == nullptr ? Json(nullptr)
                                         : Json{{"path", JsonBytes(options.package)},
                                                {"keyFileRead", package->keyFileRead},
                                                {"entries", Strings(package->table)}};
    Json branchList = Json::array();
    for (const PciBranch& branch : branches) {
        Json devices = Json::array();
        for (const PciDevice& device : branch.devices)
            devices.push_back(DeviceJson(device, package));
        branchList.push_back(Json{{"branch", JsonBytes(branch.path)},
                                  {"family", branch.nt ? "nt" : "9x"},
                                  {"devices", devices}});
    }
    json["branches"] = branchList;
    json["exitStatus"] = DevicesExitStatus(branches);
    PrintJson(json, out);
}
