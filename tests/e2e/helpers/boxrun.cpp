// Runs a program, reports and dismisses each message box it shows, then reports how it exited.
#include "escaped_text.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

struct Scan {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collectBox(HWND hwnd, LPARAM lp) {
    Scan* scan = reinterpret_cast<Scan*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16];
    if (pid == scan->pid && IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) &&
        lstrcmpA(cls, "#32770") == 0)
        scan->found.push_back(hwnd);
    return TRUE;
}

// WM_GETTEXT is marshalled across processes; the time-out keeps a hung child from hanging us.
std::string textOf(HWND hwnd) {
    char buf[4096] = "";
    DWORD_PTR res = 0;
    if (hwnd)
        SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                            SMTO_ABORTIFHUNG, 2000, &res);
    buf[sizeof buf - 1] = '\0';
    return buf;
}

BOOL CALLBACK staticText(HWND hwnd, LPARAM lp) {
    std::string* text = reinterpret_cast<std::string*>(lp);
    char cls[16];
    if (GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpiA(cls, "Static") == 0 &&
        (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
        *text = textOf(hwnd);
        if (!text->empty())
            return FALSE;
    }
    return TRUE;
}

void reportBox(HWND box) {
    char caption[1024] = "";
    GetWindowTextA(box, caption, sizeof caption);
    std::string text = textOf(GetDlgItem(box, 0xFFFF));
    if (text.empty())
        EnumChildWindows(box, staticText, reinterpret_cast<LPARAM>(&text));
    printf("BOX\t%s\t%s\n", escape(caption).c_str(), escape(text.c_str()).c_str());
    fflush(stdout);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

bool contains(const std::vector<HWND>& v, HWND h) {
    for (HWND x : v)
        if (x == h)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF line ends: the reader splits on tabs and newlines only.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: boxrun PROGRAM_PATH [TIMEOUT_SECONDS]\n");
        return 2;
    }
    unsigned long timeout = 60;
    if (argc == 3) {
        char* end = nullptr;
        timeout = strtoul(argv[2], &end, 10);
        if (*argv[2] == '\0' || *end != '\0' || timeout == 0 || timeout > 86400) {
            fprintf(stderr, "boxrun: bad timeout '%s'\n", argv[2]);
            return 2;
        }
    }

    // Wine starts the desktop process on first use and ends it soon after its last user leaves.
    // Holding it here, as on Windows where it always exists, keeps the child's WinExec calls
    // from returning before the started program has reached its message loop.
    GetDesktopWindow();

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    printf("START\t%lu\n", GetTickCount());
    fflush(stdout);
    if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        printf("NOSTART\t%lu\n", GetLastError());
        fflush(stdout);
        return 4;
    }
    CloseHandle(pi.hThread);

    const DWORD begin = GetTickCount();
    std::vector<HWND> reported;
    for (;;) {
        if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
            DWORD tick = GetTickCount();
            DWORD code = 0;
            GetExitCodeProcess(pi.hProcess, &code);
            printf("EXIT\t%lu\t%lu\n", code, tick);
            fflush(stdout);
            return 0;
        }
        if (GetTickCount() - begin >= timeout * 1000) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
            printf("TIMEOUT\n");
            fflush(stdout);
            return 3;
        }
        Scan scan{pi.dwProcessId, {}};
        EnumWindows(collectBox, reinterpret_cast<LPARAM>(&scan));
        for (HWND box : scan.found)
            if (!contains(reported, box))
                reportBox(box);
        // Forget boxes that are gone, so a handle value reused later counts as a new box.
        reported = scan.found;
    }
}
