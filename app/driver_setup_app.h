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

    // Classifies the running Windows version into os (osinfo/). False when the version cannot
    // be read or names an unknown platform, after its box; os is then OS_NONE or untouched, and
    // InitInstance needs only os: anything but a supported version ends in the refusal box.
    bool DetectOsType(OsType& os);

    // Reads key.ini beside the program into the device-ID table (device/). A key file that
    // cannot be read ends the process here, after the framework's box, with status 0.
    void LoadKeyFile();
    bool ReadWholeFile(const char* path);
    std::int32_t GetFileSizePlusOne(OsFile file);

    // Finds (NT family) or removes (Windows 9x) the first PCI device key naming a listed ID.
    bool FindDeviceKey();
    bool RemoveDeviceKey();

    // The two install methods (install/).
    void RunInstallerNt();
    void PlaceDriverFiles9x();
    // Copies source (below the program directory) to destination (below the Windows
    // directory). The destination comes first, the other way round from CopyFileA: that is the
    // order this member has always had, and the copy lists are written in it.
    void CopyPackageFile(const char* destination, const char* source);

    // Not the ID alone, whatever its name says: FindDeviceKey sets it to the device key's name
    // followed by the closing quote of the installer's command line, which RunInstallerNt
    // appends as it is. The name is the member's since the first launcher.
    CString m_strDeviceId;
    CString m_strAppDir;
    OsType m_nOsType;

private:
    bool SearchDeviceKeys(bool remove);
};
