// The PCI devices a machine's registry holds, in either family's enumeration branch.
#include "tools/keycheck/devices/pci_devices.h"

#include "sim/app_runner.h"
#include "tools/keycheck/registry/reg_value_text.h"

namespace {
std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// The IDs of a HardwareID or CompatibleIDs value. Windows 9x writes the list as one string
// with commas between the IDs; a device ID cannot hold a comma.
std::vector<std::string> IdList(const RegKey& key, const char* valueName, RegFormat format,
                                int codePage) {
    const RegValue* value = key.Value(valueName);
    if (value == nullptr)
        return {};
    std::vector<std::string> ids;
    for (const std::string& text : RegValueStrings(*value, format, codePage)) {
        for (const std::string& id : Split(text, ',')) {
            if (!id.empty())
                ids.push_back(id);
        }
    }
    return ids;
}

DeviceInstance ReadInstance(const RegKey& key, RegFormat format, int codePage) {
    DeviceInstance instance;
    instance.name = key.name;
    if (const RegValue* description = key.Value("DeviceDesc")) {
        const std::vector<std::string> text = RegValueStrings(*description, format, codePage);
        instance.hasDescription = !text.empty();
        instance.description = text.empty() ? std::string() : text[0];
        // Vista and later write an indirect description, "@usbport.inf,%key%;Standard OpenHCD
        // USB Host Controller": the INF's string where Windows finds it, the text after ";"
        // where it does not.
        const std::size_t semicolon = instance.description.find(';');
        if (!instance.description.empty() && instance.description[0] == '@' &&
            semicolon != std::string::npos)
            instance.description.erase(0, semicolon + 1);
    }
    instance.hardwareIds = IdList(key, "HardwareID", format, codePage);
    instance.compatibleIds = IdList(key, "CompatibleIDs", format, codePage);
    return instance;
}
}  // namespace

std::vector<PciBranch> FindPciDevices(const MachineSource& machine, int codePage) {
    std::vector<PciBranch> branches;
    for (const char* path : {kNtPciBranch, k9xPciBranch}) {
        const RegKey* branchKey = machine.tree.Find(Split(path, '\\'));
        if (branchKey == nullptr)
            continue;
        PciBranch branch{path, path == kNtPciBranch, {}};
        for (const auto& deviceKey : branchKey->subkeys) {
            PciDevice device;
            device.name = deviceKey->name;
            for (const auto& instanceKey : deviceKey->subkeys)
                device.instances.push_back(ReadInstance(*instanceKey, machine.format, codePage));
            branch.devices.push_back(std::move(device));
        }
        branches.push_back(std::move(branch));
    }
    return branches;
}

int DevicesExitStatus(const std::vector<PciBranch>& branches) {
    return branches.empty() ? kNoPciBranch : 0;
}
