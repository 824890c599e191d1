// Windows 2000 and XP: runs the package's installer for the device found and waits for it.
#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"
#include "install/package_copies.h"

#include "platform/mbcs_text.h"
#include "platform/win32_values.h"

namespace {
const std::uint32_t kFirstLookDelayMs = 500;
const std::uint32_t kPollIntervalMs = 2000;

// Appends path to command, in double quotes when it holds a blank or tab: unquoted, Windows
// would start the first program the path's leading words name, and the installer would get
// its arguments split.
void AppendPath(CString& command, const CString& path) {
    const bool quote = MbFindChar(path, ' ') >= 0 || MbFindChar(path, '\t') >= 0;
    if (quote)
        command += '"';
    command += path;
    if (quote)
        command += '"';
}
}  // namespace

void CDriverSetupApp::RunInstallerNt() {
    CString installer(m_strAppDir);
    installer += "install.exe";
    CString inf(m_strAppDir);
    inf += kNtInstallerInf;

    CString command;
    AppendPath(command, installer);
    command += ' ';
    AppendPath(command, inf);
    command += " \"PCI\\";

    m_strDeviceId.Empty();
    if (!FindDeviceKey()) {
        Os().MessageBoxA(nullptr, kTextNoDeviceNt, kCaptionWorry, MB_OK);
        Os().ExitProcess(0);
    }
    command += m_strDeviceId;

    Os().WinExec(command, SW_HIDE);
    Os().Sleep(kFirstLookDelayMs);

    // The installer's window carries the path it was started under; FindWindowA compares
    // titles without regard to case and sees hidden windows too.
    CString title(m_strAppDir);
    title += "Install.exe";
    while (Os().FindWindowA(nullptr, title) != nullptr)
        Os().Sleep(kPollIntervalMs);
}
