// Windows 98 SE and Me: removes the device's key and places the driver files for re-detection.
#include "app/driver_setup_app.h"

#include "platform/win32_values.h"

namespace {
const std::uint32_t kWindowsDirBufferSize = 260;

struct PackageCopy {
    const char* source;       // under the program directory
    const char* destination;  // under the Windows directory
};

const PackageCopy kWinMeCopies[] = {
    {"drv\\hx5820.inf", "\\Options\\install\\hx5820.inf"},
    {"drv\\hx5820.mpd", "\\Options\\install\\hx5820.mpd"},
    {"drv\\hx5820.cat", "\\Options\\install\\hx5820.cat"},
    {"drv\\hx5820.sys", "\\Options\\install\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\Options\\install\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\Options\\install\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\Options\\install\\hxAuxDrv.sys"},
    {"drv\\hx5820.inf", "\\inf\\hx5820.inf"},
    {"drv\\hx5820.sys", "\\system\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\hxAuxDrv.sys"},
};

// 98 SE takes its own INF, shipped as hx5820.ina, and has no catalog.
const PackageCopy kWin98SeCopies[] = {
    {"drv\\hx5820.ina", "\\inf\\hx5820.inf"},
    {"drv\\hx5820.mpd", "\\system\\IoSubsys\\hx5820.mpd"},
    {"drv\\hx5820.sys", "\\system\\IoSubsys\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\IoSubsys\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\IoSubsys\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\IoSubsys\\hxAuxDrv.sys"},
    {"drv\\hx5820.mpd", "\\system\\hx5820.mpd"},
    {"drv\\hx5820.sys", "\\system\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\hxAuxDrv.sys"},
};

template <std::size_t N> void CopyAll(CDriverSetupApp& app, const PackageCopy (&copies)[N]) {
    for (const PackageCopy& copy : copies)
        app.CopyPackageFile(copy.destination, copy.source);
}
}  // namespace

void CDriverSetupApp::PlaceDriverFiles9x() {
    if (!RemoveDeviceKey()) {
        Os().MessageBoxA(nullptr, "Sorry!! We don't support this ID.\nYour ID are't Correctly!!",
                         "Worry", MB_OK);
        Os().ExitProcess(0);
    }
    if (m_nOsType == OS_WINME)
        CopyAll(*this, kWinMeCopies);
    else
        CopyAll(*this, kWin98SeCopies);
}

void CDriverSetupApp::CopyPackageFile(const char* destination, const char* source) {
    CString sourcePath(m_strAppDir);
    sourcePath += source;

    // A Windows directory that cannot be read would turn the destination into a path under
    // the current drive's root; that copy is skipped like any other that fails.
    char windows[kWindowsDirBufferSize];
    const std::uint32_t length = Os().GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows)
        return;
    // A drive root keeps its backslash ("C:\"); the destinations bring their own.
    CString destinationPath(windows, static_cast<int>(length));
    if (length == 3 && windows[1] == ':' && windows[2] == '\\')
        destinationPath.Truncate(2);
    destinationPath += destination;

    Os().CopyFileA(sourcePath, destinationPath, 0);
}
