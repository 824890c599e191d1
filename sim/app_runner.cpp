// Runs the launcher from start-up to its end against a CFakeOs, as the Windows program would.
#include "sim/app_runner.h"

#include "app/driver_setup_app.h"

#include <map>
#include <stdexcept>

LauncherRun RunLauncher(CFakeOs& os) {
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
    (void)os;
    return run;
}

void SetWindowsVersion(CFakeOs& os, const std::string& name) {
    struct Version {
        std::uint32_t platform, major, minor, build;
    };
    static const std::map<std::string, Version> versions = {{"win31", {0, 3, 10, 0}},
                                                            {"win95", {1, 4, 0, 0x040003B6}},
                                                            {"win98fe", {1, 4, 10, 0x040A07CE}},
                                                            {"win98", {1, 4, 10, 0x040A08AE}},
                                                            {"winme", {1, 4, 90, 0x045A0BB8}},
                                                            {"nt40", {2, 4, 0, 1381}},
                                                            {"win2k", {2, 5, 0, 2195}},
                                                            {"winxp", {2, 5, 1, 2600}},
                                                            {"win2003", {2, 5, 2, 3790}},
                                                            {"vista", {2, 6, 0, 6002}},
                                                            {"win10", {2, 6, 2, 9200}}};
    const auto it = versions.find(name);
    if (it == versions.end())
        throw std::invalid_argument("unknown Windows version " + name);
    const Version& v = it->second;
    os.SetVersion(v.platform, v.major, v.minor, v.build);
}

const char* const kNtPciBranch = "SYSTEM\\CurrentControlSet\\Enum\\PCI";
const char* const k9xPciBranch = "Enum\\PCI";

void AddPackage(CFakeOs& os, const std::string& dir, const std::string& keyIni) {
    os.AddFile(dir + "key.ini", keyIni);
    os.AddFile(dir + "install.exe", "installer");
    for (const char* name : {"hx5820.inf", "hx5820.ina", "hx5820.mpd", "hx5820.sys", "hx5820.cat",
                             "hxvport.vxd", "hxpanel.cpl", "hxAuxDrv.sys"})
        os.AddFile(dir + "drv\\" + name, std::string("package ") + name);
}
