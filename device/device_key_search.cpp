// Finds (NT family) or removes (Windows 9x) the first PCI device key that names a listed ID.
#include "app/driver_setup_app.h"
#include "device/device_id_table.h"
#include "device/listed_id_match.h"

#include "platform/win32_values.h"

namespace {
// The enumeration is given 255 bytes (a longer name fails and ends the walk); the buffer's last
// byte is a guard that stays NUL whatever the enumeration writes.
const std::uint32_t kNameBufferSize = 256;
const std::uint32_t kNameSizeGiven = 255;
}  // namespace

bool CDriverSetupApp::FindDeviceKey() {
    return SearchDeviceKeys(false);
}

bool CDriverSetupApp::RemoveDeviceKey() {
    return SearchDeviceKeys(true);
}

bool CDriverSetupApp::SearchDeviceKeys(bool remove) {
    LoadKeyFile();

    OsKey pci = 0;
    if (remove) {
        if (Os().RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\PCI", 0, KEY_ALL_ACCESS, &pci) !=
            ERROR_SUCCESS)
            return false;
    } else if (Os().RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0,
                                  KEY_READ, &pci) != ERROR_SUCCESS) {
        return false;
    }

    bool result = false;
    std::uint32_t subKeys = 0;
    if (Os().RegQueryInfoKeyA(pci, &subKeys) == ERROR_SUCCESS) {
        char name[kNameBufferSize];
        // Never read while the walk goes on: a successful enumeration puts the name and its NUL
        // inside the 255 bytes given, and any failure ends the walk. It keeps a cut name ended.
        name[kNameSizeGiven] = '\0';
        for (std::uint32_t i = 0; i < subKeys; ++i) {
            // A name that does not fit, or any other failure, ends the walk.
            if (Os().RegEnumKeyA(pci, i, name, kNameSizeGiven) != ERROR_SUCCESS)
                break;
            if (FirstListedIdIn(g_deviceIdTable, name) < 0)
                continue;
            if (remove) {
                result = Os().RegDeleteKeyA(pci, name) == ERROR_SUCCESS;
            } else {
                m_strDeviceId = name;
                m_strDeviceId += '"';
                result = true;
            }
            break;
        }
    }
    Os().RegCloseKey(pci);
    return result;
}
