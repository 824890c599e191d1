// PCI hardware and compatible IDs taken apart, and how they relate to device key names.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/pciid/device_id_kind.h"

#include <string>

// The parts of "PCI\VEN_v&DEV_d&SUBSYS_s&REV_r" or of a class-code form ("PCI\VEN_v&CC_c",
// "PCI\CC_c"), upper case; empty when not named.
struct PciIdParts {
    std::string vendor, device, subsystem, revision, classCode;
};

// Whether id is a PCI ID ("PCI\" and "&"-separated VEN_, DEV_, SUBSYS_, REV_ or CC_ parts of
// hex digits); parts gets its pieces.
bool ParsePciId(const std::string& id, PciIdParts& parts);

// VEN_xxxx&DEV_xxxx of a PCI ID, upper case, or "" for one that is no PCI ID or names no single
// device: the part of an ID that the launcher's entries, the models and TXTSETUP.OEM share.
std::string PciDeviceOf(const std::string& id);

// Whether the ID names no single device: a class (PCI\CC_0104), or a maker's class
// (PCI\VEN_8086&CC_0C0330). No device key name is such an ID, so no key.ini entry lists it:
// gen leaves it out, and xref says so in a note.
bool NamesNoSingleDevice(const PciIdParts& parts);

// Whether a key.ini entry is a whole VEN_xxxx&DEV_xxxx[&SUBSYS_xxxxxxxx][&REV_xx] (upper-case
// hex digits, as Windows spells the device key names it is compared with).
bool IsWholeDeviceEntry(const std::string& entry);

// Whether some PCI device key name (VEN_v&DEV_d&SUBSYS_s&REV_r) that holds entry, as the
// launcher's case-sensitive substring test finds it, belongs to a device Windows gives id.
bool EntryReaches(const std::string& entry, const PciIdParts& id);

// Whether every device whose key name holds entry (a whole one) has id among its IDs.
bool EntryFullyCovered(const std::string& entry, const PciIdParts& id);

// What id limits the devices to beyond vendor and device, such as "SUBSYS_12345678", or "".
std::string PciIdLimits(const PciIdParts& id);

// Which of a PCI device's lists holds an ID of id's form on version: the PCI bus driver's
// lists, "Identifiers for PCI Devices" (learn.microsoft.com/windows-hardware/drivers/install/
// identifiers-for-pci-devices).
DeviceIdKind PciIdKind(const PciIdParts& id, OsType version);
