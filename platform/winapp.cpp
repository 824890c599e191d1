// CWinApp: the application base with its start-up hook, and the start-up sequence around it.
#include "platform/winapp.h"

#include "platform/mbcs_text.h"
#include "platform/win32_values.h"

namespace {
const std::uint32_t kPathBufferSize = 260;  // MAX_PATH

CWinApp* g_pApp = nullptr;

// The file name of a full path without its folder and extension, as the application's name.
CString FileTitle(const char* path) {
    const CString full(path);
    CString title(static_cast<const char*>(full) + full.ReverseFind('\\') + 1);
    title.Truncate(title.ReverseFind('.'));  // without a dot, -1 keeps the whole name
    return title;
}
}  // namespace

CWinApp::CWinApp() : m_hInstance(nullptr) {
    Os().SetMultibyteCodePage();
    MbLoadLeadBytes();
    g_pApp = this;
}

CWinApp::~CWinApp() {
    g_pApp = nullptr;
}

int CWinApp::DoMessageBox(const char* text, std::uint32_t type, std::uint32_t /*helpId*/) {
    return Os().MessageBoxA(nullptr, text, m_strExeName, type | MB_ICONEXCLAMATION);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

int AfxWinMain(OsInstance instance) {
    CWinApp* app = AfxGetApp();
    app->m_hInstance = instance;

    char path[kPathBufferSize];
    const std::uint32_t length = Os().GetModuleFileNameA(instance, path, sizeof path);
    if (length > 0 && length < sizeof path)
        app->m_strExeName = FileTitle(path);

    // A program that creates no window has no message loop to run, whatever the hook answers.
    app->InitInstance();
    return 0;
}
