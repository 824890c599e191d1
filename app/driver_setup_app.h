// CDriverSetupApp: the launcher's application object; its work is done by its member operations.
#pragma once

#include "osinfo/os_type.h"
#include "platform/cstring.h"
#include "platform/os_api.h"
#include "platform/winapp.h"

#include <cstdint>

class CDriverSetupApp : public CWinApp {
public:
    CDriverSetupApp();

    bool InitInstance() override;

    // Classifies the running Windows version into os (osinfo/).
    bool DetectOsType(OsType& os);

    // Reads key.ini beside the program into the device-ID table (device/).
    void LoadKeyFile();
    bool ReadWholeFile(const char* path);
    std::int32_t GetFileSizePlusOne(OsFile file);

    // Finds (NT family) or removes (Windows 9x) the first PCI device key naming a listed ID.
    bool FindDeviceKey();
    bool RemoveDeviceKey();

    // The two install methods (install/).
    void RunInstallerNt();
    void PlaceDriverFiles9x();
    void CopyPackageFile(const char* destination, const char* source);

    CString m_strDeviceId;
    CString m_strAppDir;
    OsType m_nOsType;

private:
    bool SearchDeviceKeys(bool remove);
};
