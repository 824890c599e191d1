// The launcher's start-up hook: program directory, Windows version, and the install path.
#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"

#include "platform/win32_values.h"

namespace {
const std::uint32_t kModulePathBufferSize = 512;
}

CDriverSetupApp::CDriverSetupApp() : m_nOsType(OS_NONE) {}

bool CDriverSetupApp::InitInstance() {
    Os().InitCommonControls();

    // A path that fills the whole buffer may be cut short and, on Windows XP, is left without
    // its NUL; like a failed call it cannot lead to the package, so the program directory
    // stays empty and the key-file loader refuses it.
    char path[kModulePathBufferSize];
    const std::uint32_t length = Os().GetModuleFileNameA(m_hInstance, path, sizeof path);
    if (length > 0 && length < sizeof path) {
        // Cut after the last backslash character (a double-byte character whose trail byte is
        // 0x5C is no backslash); a path without one leaves the directory empty.
        CString dir(path, static_cast<int>(length));
        dir.Truncate(dir.ReverseFind('\\') + 1);
        m_strAppDir = dir;
    }

    DetectOsType(m_nOsType);

    if (m_nOsType == OS_WIN2000 || m_nOsType == OS_WINXP) {
        RunInstallerNt();
    } else if (m_nOsType == OS_WIN98SE || m_nOsType == OS_WINME) {
        PlaceDriverFiles9x();
    } else {
        Os().MessageBoxA(nullptr, kTextUnsupportedSystem, kCaptionWorry, MB_OK);
        Os().ExitProcess(0);
    }
    return false;
}
