// What an export's machine records beyond its PCI keys: the Windows version, and the control set
// read as CurrentControlSet when the export names ControlSetNNN keys.
#include "tools/keycheck/machine/machine_source.h"

#include <gtest/gtest.h>

#include <string>

namespace {
MachineSource Read(const std::string& body, const std::string& controlSet = "") {
    MachineSource machine;
    std::string error;
    MachineChoice choice;
    choice.controlSet = controlSet;
    if (!ReadMachine("REGEDIT4\r\n\r\n" + body, "m.reg", 1252, choice, machine, error))
        machine.path = "error: " + error;
    return machine;
}

struct VersionRow {
    const char* key;
    const char* value;
    const char* number;
    const char* option;  // "" for none recorded
};

// The version numbers each edition keeps (98/Me: VersionNumber; NT: CurrentVersion).
const VersionRow kVersions[] = {
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.00.950", "95"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.03.1214", "95"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.10.1998", "98"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.10.2222", "98se"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.90.3000", "me"},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "5.1", ""},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.10", ""},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.10.2222a", ""},
    {"Software\\Microsoft\\Windows\\CurrentVersion", "Version", "4.10.2222", ""},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "4.0", "nt4"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.0", "2000"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.1", "xp"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.2", "2003"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "6.0", "vista"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "6.1", "10"},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.3", ""},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", "5.1.2600", ""},
};

TEST(MachineRecord, TheVersionEachNumberStandsFor) {
    for (const VersionRow& row : kVersions) {
        const MachineSource machine = Read(std::string("[HKEY_LOCAL_MACHINE\\") + row.key +
                                           "]\r\n\"" + row.value + "\"=\"" + row.number + "\"\r\n");
        EXPECT_EQ(machine.version.option, row.option) << row.key << " " << row.number;
        EXPECT_EQ(machine.version.from.empty(), *row.option == '\0') << machine.version.from;
    }
    const MachineSource serviced =
        Read("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
             "\"CurrentVersion\"=\"5.1\"\r\n\"CSDVersion\"=\"Service Pack 2\"\r\n");
    EXPECT_EQ(serviced.version.from, "CurrentVersion 5.1, Service Pack 2 in "
                                     "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    EXPECT_EQ(VersionDisagreement("xp", serviced.version), "");
    EXPECT_EQ(VersionDisagreement("", serviced.version), "");
    EXPECT_EQ(VersionDisagreement("2000", serviced.version),
              "--os 2000, but the machine records Windows XP (CurrentVersion 5.1, Service Pack 2 "
              "in HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion); predicted as --os says");
    EXPECT_EQ(VersionSource("", serviced.version), serviced.version.from);
    EXPECT_EQ(VersionSource("2000", serviced.version), "--os");
}

const char* const kSet1 = "[HKEY_LOCAL_MACHINE\\OFFLINE\\ControlSet001\\Enum\\PCI\\VEN_1]\r\n";
const char* const kSet2 = "[HKEY_LOCAL_MACHINE\\OFFLINE\\ControlSet002\\Enum\\PCI\\VEN_2]\r\n";
const char* const kSelect2 =
    "[HKEY_LOCAL_MACHINE\\OFFLINE\\Select]\r\n\"Current\"=dword:00000002\r\n";

struct SetRow {
    std::string body;
    const char* requested;
    const char* read;  // or "error: ..." as the start of the error
    const char* how;
    const char* device;  // the device key read as CurrentControlSet's
};

TEST(MachineRecord, TheControlSetReadAsCurrent) {
    const SetRow rows[] = {
        {kSet1, "", "OFFLINE\\ControlSet001", "the only control set", "VEN_1"},
        {std::string(kSet1) + kSet2 + kSelect2, "", "OFFLINE\\ControlSet002", "Select\\Current",
         "VEN_2"},
        {std::string(kSet1) + kSet2, "",
         "error: m.reg: control sets OFFLINE\\ControlSet001, "
         "OFFLINE\\ControlSet002 and no Select",
         "", ""},
        {std::string(kSet1) + kSet2, "2", "OFFLINE\\ControlSet002", "--control-set", "VEN_2"},
        {std::string(kSet1) + kSet2 + kSelect2, "controlset001", "OFFLINE\\ControlSet001",
         "--control-set", "VEN_1"},
        {kSet1, "3", "error: m.reg: --control-set 3 names no control set", "", ""},
        {"[HKEY_LOCAL_MACHINE\\ControlSet001\\Enum\\PCI\\VEN_3]\r\n", "", "ControlSet001",
         "the only control set", "VEN_3"},
        {"[HKEY_LOCAL_MACHINE\\A\\B\\ControlSet001\\Enum\\PCI\\VEN_4]\r\n", "", "", "", ""},
        {"[HKEY_LOCAL_MACHINE\\OFFLINE\\ControlSet01\\Enum\\PCI\\VEN_5]\r\n", "", "", "", ""},
        {std::string(kSet1) +
             "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_6]\r\n",
         "", "", "", "VEN_6"},
    };
    for (const SetRow& row : rows) {
        const MachineSource machine = Read(row.body, row.requested);
        const std::string read = row.read;
        if (read.rfind("error: ", 0) == 0) {
            EXPECT_EQ(machine.path.rfind(read, 0), 0u) << machine.path;
            continue;
        }
        EXPECT_EQ(machine.controlSet, read) << row.body << machine.path;
        EXPECT_EQ(machine.controlSetHow, row.how) << row.body;
        const RegKey* pci = machine.tree.Find({"SYSTEM", "CurrentControlSet", "Enum", "PCI"});
        EXPECT_EQ(pci == nullptr ? "" : pci->subkeys.front()->name, std::string(row.device))
            << row.body;
    }
}
}  // namespace
