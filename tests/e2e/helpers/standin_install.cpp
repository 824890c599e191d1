// Stands in for a driver package's install.exe: logs how it was started, keeps a hidden window.
#include "escaped_text.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

// Arguments must reach us exactly as typed, so no wildcard expansion by the C runtime.
extern "C" {
int _dowildcard = 0;
}

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;

void logLine(const std::string& line) {
    DWORD written = 0;
    std::string data = line + "\n";
    WriteFile(logFile, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

std::string tick() {
    char buf[16];
    snprintf(buf, sizeof buf, "%lu", GetTickCount());
    return buf;
}

void openLog() {
    char path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[n] = '\0';
    char* slash = strrchr(path, '\\');
    lstrcpyA(slash ? slash + 1 : path, "install.log");
    // FILE_APPEND_DATA without FILE_WRITE_DATA makes every write go to the end of the file.
    logFile = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

UINT envMs(const char* name, UINT fallback) {
    char buf[32];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf)
        return fallback;
    char* end = nullptr;
    unsigned long v = strtoul(buf, &end, 10);
    return *end == '\0' ? static_cast<UINT>(v) : fallback;
}

HWND makeWindow(HINSTANCE inst, const char* title) {
    HWND wnd = CreateWindowExA(0, "StandinInstallWnd", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 320, 200, nullptr, nullptr, inst, nullptr);
    logLine((wnd ? "WINDOW\t" : "NOWINDOW\t") + tick());
    return wnd;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    openLog();
    logLine("CMDLINE\t" + escape(GetCommandLineA()));
    logLine("ARGC\t" + std::to_string(__argc));
    for (int i = 0; i < __argc; ++i)
        logLine("ARG\t" + std::to_string(i) + "\t" + escape(__argv[i]));
    logLine("START\t" + tick());

    UINT lifetime = envMs("STANDIN_LIFETIME_MS", 3000);
    UINT delay = envMs("STANDIN_WINDOW_DELAY_MS", 0);
    const char* title = __argc > 0 ? __argv[0] : "";

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = inst;
    wc.lpszClassName = "StandinInstallWnd";
    RegisterClassA(&wc);

    HWND wnd = nullptr;
    UINT_PTR delayTimer = 0;
    if (delay == 0)
        wnd = makeWindow(inst, title);
    else
        delayTimer = SetTimer(nullptr, 0, delay, nullptr);
    UINT_PTR lifeTimer = SetTimer(nullptr, 0, lifetime, nullptr);

    // A parent's WinExec returns once we block in GetMessage, so get there without delay.
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            if (delayTimer && msg.wParam == delayTimer) {
                KillTimer(nullptr, delayTimer);
                delayTimer = 0;
                wnd = makeWindow(inst, title);
            } else if (msg.wParam == lifeTimer) {
                KillTimer(nullptr, lifeTimer);
                if (delayTimer)
                    KillTimer(nullptr, delayTimer);
                if (wnd)
                    DestroyWindow(wnd);
                logLine("WINDOW_GONE\t" + tick());
                PostQuitMessage(0);
            }
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(logFile);
    return static_cast<int>(msg.wParam);
}
