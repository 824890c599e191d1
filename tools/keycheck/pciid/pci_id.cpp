// PCI hardware and compatible IDs taken apart, and how they relate to device key names.
#include "tools/keycheck/pciid/pci_id.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

#include <iterator>
#include <utility>
#include <vector>

namespace {
bool HexDigits(const std::string& text, std::size_t count, bool upperOnly) {
    if (text.size() != count)
        return false;
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool upper = c >= 'A' && c <= 'F';
        const bool lower = c >= 'a' && c <= 'f';
        if (!digit && !upper && !(lower && !upperOnly))
            return false;
    }
    return true;
}

bool TakePart(const std::string& part, PciIdParts& parts) {
    const struct {
        const char* prefix;
        std::string PciIdParts::*field;
        std::size_t digits;
    } kinds[] = {{"VEN_", &PciIdParts::vendor, 4},
                 {"DEV_", &PciIdParts::device, 4},
                 {"SUBSYS_", &PciIdParts::subsystem, 8},
                 {"REV_", &PciIdParts::revision, 2},
                 {"CC_", &PciIdParts::classCode, 0}};
    for (const auto& kind : kinds) {
        const std::string prefix = kind.prefix;
        if (part.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string value = part.substr(prefix.size());
        const bool ok = kind.digits == 0 ? HexDigits(value, 4, false) || HexDigits(value, 6, false)
                                         : HexDigits(value, kind.digits, false);
        if (!ok || !(parts.*kind.field).empty())
            return false;
        parts.*kind.field = value;
        return true;
    }
    return false;
}

// The device key names of devices with id, as one pattern: "?" stands for any upper-case
// hex digit. The class code is not part of the name.
std::string KeyNamePattern(const PciIdParts& id) {
    auto or_ = [](const std::string& value, std::size_t digits) {
        return value.empty() ? std::string(digits, '?') : value;
    };
    return "VEN_" + or_(id.vendor, 4) + "&DEV_" + or_(id.device, 4) + "&SUBSYS_" +
           or_(id.subsystem, 8) + "&REV_" + or_(id.revision, 2);
}

bool FitsAt(const std::string& pattern, std::size_t at, const std::string& entry) {
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const char want = pattern[at + i];
        const char c = entry[i];
        if (want == '?' ? !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) : c != want)
            return false;
    }
    return true;
}

// An ID of one form: which parts it names.
struct Form {
    bool vendor, device, subsystem, revision, classCode;
    bool operator==(const Form& other) const {
        return vendor == other.vendor && device == other.device && subsystem == other.subsystem &&
               revision == other.revision && classCode == other.classCode;
    }
};

// The hardware-ID forms of the PCI bus driver. Windows XP and 2000 list VEN&DEV&SUBSYS&REV,
// VEN&DEV&SUBSYS and the two VEN&DEV&CC forms as hardware IDs, and VEN&DEV&REV, VEN&DEV and
// the vendor and class forms as compatible IDs (as their registries show under HardwareID
// and CompatibleIDs); Windows 98 SE and Me list the four VEN&DEV forms as hardware IDs.
const Form kNtHardwareForms[] = {{true, true, true, true, false},
                                 {true, true, true, false, false},
                                 {true, true, false, false, true}};
const Form k9xHardwareForms[] = {{true, true, true, true, false},
                                 {true, true, true, false, false},
                                 {true, true, false, true, false},
                                 {true, true, false, false, false}};
}  // namespace

bool ParsePciId(const std::string& id, PciIdParts& parts) {
    parts = PciIdParts{};
    const std::string upper = AsciiUpper(id);
    if (upper.compare(0, 4, "PCI\\") != 0)
        return false;
    std::size_t at = 4;
    for (;;) {
        const std::size_t amp = upper.find('&', at);
        if (!TakePart(upper.substr(at, amp == std::string::npos ? std::string::npos : amp - at),
                      parts))
            return false;
        if (amp == std::string::npos)
            break;
        at = amp + 1;
    }
    // The bus driver's forms: a device only with its vendor, a class only with a vendor or alone.
    if (!parts.device.empty() && parts.vendor.empty())
        return false;
    return parts.classCode.empty() || (parts.subsystem.empty() && parts.revision.empty());
}

bool IsWholeDeviceEntry(const std::string& entry) {
    PciIdParts parts;
    if (!ParsePciId("PCI\\" + entry, parts) || entry != AsciiUpper(entry))
        return false;
    const std::string rebuilt = "VEN_" + parts.vendor + "&DEV_" + parts.device +
                                (parts.subsystem.empty() ? "" : "&SUBSYS_" + parts.subsystem) +
                                (parts.revision.empty() ? "" : "&REV_" + parts.revision);
    // A revision without a subsystem never occurs in a key name, which names both.
    return !parts.vendor.empty() && !parts.device.empty() && parts.classCode.empty() &&
           (parts.revision.empty() || !parts.subsystem.empty()) && rebuilt == entry;
}

bool EntryReaches(const std::string& entry, const PciIdParts& id) {
    const std::string pattern = KeyNamePattern(id);
    if (entry.empty() || entry.size() > pattern.size())
        return false;
    for (std::size_t at = 0; at + entry.size() <= pattern.size(); ++at) {
        if (FitsAt(pattern, at, entry))
            return true;
    }
    return false;
}

bool EntryFullyCovered(const std::string& entry, const PciIdParts& id) {
    PciIdParts wanted;
    if (!ParsePciId("PCI\\" + entry, wanted) || !id.classCode.empty())
        return false;
    auto within = [](const std::string& limit, const std::string& have) {
        return limit.empty() || limit == have;
    };
    return within(id.vendor, wanted.vendor) && within(id.device, wanted.device) &&
           within(id.subsystem, wanted.subsystem) && within(id.revision, wanted.revision);
}

std::string PciIdLimits(const PciIdParts& id) {
    std::string limits;
    for (const auto& part :
         {std::make_pair("SUBSYS_", &id.subsystem), std::make_pair("REV_", &id.revision),
          std::make_pair("CC_", &id.classCode)}) {
        if (part.second->empty())
            continue;
        limits += (limits.empty() ? "" : "&") + std::string(part.first) + *part.second;
    }
    return limits;
}

DeviceIdKind PciIdKind(const PciIdParts& id, OsType version) {
    const Form form{!id.vendor.empty(), !id.device.empty(), !id.subsystem.empty(),
                    !id.revision.empty(), !id.classCode.empty()};
    const bool nt = IsNtVersion(version);
    for (const Form& hardware :
         nt ? std::vector<Form>(std::begin(kNtHardwareForms), std::end(kNtHardwareForms))
            : std::vector<Form>(std::begin(k9xHardwareForms), std::end(k9xHardwareForms))) {
        if (hardware == form)
            return DeviceIdKind::HardwareId;
    }
    return DeviceIdKind::CompatibleId;
}

bool NamesNoSingleDevice(const PciIdParts& parts) {
    return parts.device.empty();
}

std::string PciDeviceOf(const std::string& id) {
    PciIdParts parts;
    if (!ParsePciId(id, parts) || NamesNoSingleDevice(parts))
        return "";
    return "VEN_" + parts.vendor + "&DEV_" + parts.device;
}
