// How the reports name the machine they read.
#include "tools/keycheck/report/machine_report.h"

Json MachineJson(const std::string& file, const MachineSource& machine) {
    return Json{{"file", JsonBytes(file)},
                {"encoding", MachineEncodingName(machine)},
                {"format", MachineFormatName(machine)},
                {"localMachineKeys", machine.localMachineKeys},
                {"controlSet", JsonTextOrNull(machine.controlSet)}};
}
