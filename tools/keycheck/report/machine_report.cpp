// How the reports name the machine they read.
#include "tools/keycheck/report/machine_report.h"

Json MachineJson(const std::string& file, const MachineSource& machine) {
    Json image = nullptr;
    if (machine.fromImage)
        image = Json{{"format", machine.image.format},
                     {"partition", machine.image.partition},
                     {"partitionText", JsonBytes(machine.image.partitionText)},
                     {"windowsDir", JsonBytes(machine.image.windowsDir)},
                     {"registryFile", JsonBytes(machine.image.registryFile)}};
    Json version = nullptr;
    if (!machine.version.option.empty())
        version = Json{{"option", machine.version.option}, {"from", machine.version.from}};
    Json controlSets = Json::array();
    for (const std::string& set : machine.controlSets)
        controlSets.push_back(JsonBytes(set));
    return Json{{"file", JsonBytes(file)},
                {"encoding", MachineEncodingName(machine)},
                {"format", MachineFormatName(machine)},
                {"localMachineKeys", machine.localMachineKeys},
                {"controlSet", JsonTextOrNull(machine.controlSet)},
                {"controlSetHow", JsonTextOrNull(machine.controlSetHow)},
                {"controlSets", controlSets},
                {"version", version},
                {"image", image}};
}
