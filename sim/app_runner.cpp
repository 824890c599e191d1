// Runs the launcher from start-up to its end against a CFakeOs, as the Windows program would.
#include "sim/app_runner.h"

#include "sim/windows_versions.h"

#include "app/driver_setup_app.h"
#include "platform/mbcs_text.h"

#include <map>
#include <stdexcept>

LauncherRun RunLauncher(CFakeOs& os) {
    const FakeOsInstalled installed(os);
    g_deviceIdTable = DeviceIdTable{};
    g_pszKeyText = nullptr;
    MbForgetLeadBytes();
    LauncherRun run;
    CDriverSetupApp app;
    try {
        run.exitStatus = AfxWinMain(reinterpret_cast<OsInstance>(0x400000));
    } catch (const FakeProcessExit& exit) {
        run.exitStatus = exit.status;
        run.endedByExitCall = true;
    }
    run.appDir = static_cast<const char*>(app.m_strAppDir);
    run.deviceId = static_cast<const char*>(app.m_strDeviceId);
    run.osType = app.m_nOsType;
    run.keyFileRead = g_pszKeyText != nullptr;
    run.listed = g_deviceIdTable;
    return run;
}

void SetWindowsVersion(CFakeOs& os, const std::string& name) {
    const WindowsVersion* version = WindowsVersionByWineName(name);
    if (version == nullptr)
        throw std::invalid_argument("unknown Windows version " + name);
    os.SetVersion(version->platform, version->major, version->minor, version->build);
}

const char* const kNtPciBranch = "SYSTEM\\CurrentControlSet\\Enum\\PCI";
const char* const k9xPciBranch = "Enum\\PCI";

std::vector<std::pair<std::string, std::string>> PackageFileList(const std::string& keyIni) {
    std::vector<std::pair<std::string, std::string>> files{{"key.ini", keyIni},
                                                           {"install.exe", "installer"}};
    for (const char* name : {"hx5820.inf", "hx5820.ina", "hx5820.mpd", "hx5820.sys", "hx5820.cat",
                             "hxvport.vxd", "hxpanel.cpl", "hxAuxDrv.sys"})
        files.emplace_back(std::string("drv\\") + name, std::string("package ") + name);
    return files;
}

void AddPackage(CFakeOs& os, const std::string& dir, const std::string& keyIni) {
    for (const auto& file : PackageFileList(keyIni))
        os.AddFile(dir + file.first, file.second);
}
