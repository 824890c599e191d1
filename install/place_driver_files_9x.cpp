// Windows 98 SE and Me: removes the device's key and places the driver files for re-detection.
#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"

#include "install/package_copies.h"
#include "platform/win32_values.h"

namespace {
const std::uint32_t kWindowsDirBufferSize = 260;

void CopyAll(CDriverSetupApp& app, const PackageCopy* copies, int count) {
    for (int i = 0; i < count; ++i)
        app.CopyPackageFile(copies[i].destination, copies[i].source);
}
}  // namespace

void CDriverSetupApp::PlaceDriverFiles9x() {
    if (!RemoveDeviceKey()) {
        Os().MessageBoxA(nullptr, kTextNoDevice9x, kCaptionWorry, MB_OK);
        Os().ExitProcess(0);
    }
    if (m_nOsType == OS_WINME)
        CopyAll(*this, kWinMeCopies, kWinMeCopyCount);
    else
        CopyAll(*this, kWin98SeCopies, kWin98SeCopyCount);
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
