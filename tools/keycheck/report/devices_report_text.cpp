// Prints the result of keycheck devices for people.
#include "tools/keycheck/report/devices_report.h"

#include "tools/keycheck/report/install_report.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
void Pad(std::ostream& out, std::size_t used, std::size_t width) {
    for (; used < width; ++used)
        out << ' ';
}

void PrintIds(const char* label, const std::vector<std::string>& ids, int codePage,
              std::ostream& out) {
    if (ids.empty())
        return;
    out << "      " << label;
    Pad(out, std::string(label).size(), 15);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0)
            out << "      " << std::string(15, ' ');
        out << Shown(ids[i], codePage) << "\n";
    }
}

void PrintInstance(const DeviceInstance& instance, int codePage, std::ostream& out) {
    out << "    instance " << Shown(instance.name, codePage);
    if (instance.hasDescription)
        out << "  \"" << Shown(instance.description, codePage) << "\"";
    out << "\n";
    PrintIds("HardwareID", instance.hardwareIds, codePage, out);
    PrintIds("CompatibleIDs", instance.compatibleIds, codePage, out);
    if (instance.hardwareIds.empty() && instance.compatibleIds.empty())
        out << "      no HardwareID or CompatibleIDs value\n";
    for (const InstallVerdict& verdict : instance.installs)
        out << "      " << InstallText(verdict, codePage) << "\n";
}

void PrintDevice(const PciDevice& device, const PackageMatch* package, int codePage,
                 std::ostream& out) {
    const std::string name = Shown(device.name, codePage);
    out << "  " << name;
    if (package != nullptr) {
        Pad(out, name.size(), 44);
        if (device.matchedEntry < 0)
            out << "  no listed ID";
        else
            out << "  holds #" << device.matchedEntry + 1 << " \""
                << Shown(package->table[static_cast<std::size_t>(device.matchedEntry)], codePage)
                << "\"";
    }
    out << "\n";
    for (const DeviceInstance& instance : device.instances)
        PrintInstance(instance, codePage, out);
    if (device.instances.empty())
        out << "    no instance key\n";
}
}  // namespace

void PrintDevicesText(const Options& options, const MachineSource& machine,
                      const std::vector<PciBranch>& branches, const PackageMatch* package,
                      std::ostream& out) {
    out << "keycheck devices " << options.registry << "\n"
        << "  " << MachineLabel(machine) << ", " << Counted(machine.localMachineKeys, "key", "keys")
        << " under HKEY_LOCAL_MACHINE, ANSI code page " << options.codePage << "\n";
    if (package != nullptr) {
        out << "  package " << options.package << ": ";
        if (package->keyFileRead)
            out << "key.ini read, " << Counted(package->table.size(), "entry", "entries") << "\n";
        else
            out << "key.ini cannot be read, so the launcher finds no device\n";
    }
    if (!machine.version.option.empty())
        out << "  records " << machine.version.from << "\n";
    if (branches.empty())
        out << "\nThe machine holds neither HKLM\\SYSTEM\\CurrentControlSet\\Enum\\PCI (2000/XP) "
               "nor HKLM\\Enum\\PCI (98 SE/Me): no PCI device to list (exit status "
            << kNoPciBranch << ").\n";
    for (const PciBranch& branch : branches) {
        out << "\nPCI devices under HKLM\\" << branch.path << " ("
            << (branch.nt ? "2000/XP" : "98 SE/Me") << "): " << branch.devices.size() << "\n";
        for (const PciDevice& device : branch.devices)
            PrintDevice(device, package, options.codePage, out);
    }
}
