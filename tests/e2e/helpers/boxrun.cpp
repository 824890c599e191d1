// Runs a program, reports each message box it shows (caption, text, icon, buttons) and closes it.
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

// The box's shown buttons by command ID (IDOK, IDCANCEL, ...), in creation order.
BOOL CALLBACK buttonIds(HWND hwnd, LPARAM lp) {
    std::string* ids = reinterpret_cast<std::string*>(lp);
    char cls[16];
    if (GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpiA(cls, "Button") == 0 &&
        IsWindowVisible(hwnd)) {
        if (!ids->empty())
            *ids += ',';
        *ids += std::to_string(GetDlgCtrlID(hwnd));
    }
    return TRUE;
}

BOOL CALLBACK iconStatic(HWND hwnd, LPARAM lp) {
    char cls[16];
    if (GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpiA(cls, "Static") == 0 &&
        IsWindowVisible(hwnd) && (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A 32-bit top-down bitmap of the icon's size, selected into a memory DC.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    DWORD* pixels;
    Canvas(int w, int h) : dc(CreateCompatibleDC(nullptr)), bitmap(nullptr), pixels(nullptr) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        SelectObject(dc, bitmap);
    }
    ~Canvas() {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

int channelDistance(DWORD a, DWORD b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

// Which system icon the box shows. The icon handle belongs to the box's process, so the
// control's pixels on the screen are compared with each system icon drawn here, over the
// pixels that icon covers (the same on a black and a white ground).
const char* iconOf(HWND box) {
    HWND control = nullptr;
    EnumChildWindows(box, iconStatic, reinterpret_cast<LPARAM>(&control));
    DWORD_PTR shown = 0;
    if (control != nullptr)
        SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &shown);
    if (shown == 0)
        return "none";
    static const struct {
        LPCSTR id;
        const char* name;
    } icons[] = {{IDI_HAND, "hand"},
                 {IDI_QUESTION, "question"},
                 {IDI_EXCLAMATION, "exclamation"},
                 {IDI_ASTERISK, "asterisk"}};
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    Canvas shot(w, h), onBlack(w, h), onWhite(w, h);
    // The box may still be painting when first seen; look again for up to two seconds.
    for (int attempt = 0; attempt < 20; ++attempt) {
        UpdateWindow(box);
        Sleep(100);
        RECT r;
        GetWindowRect(control, &r);
        HDC screen = GetDC(nullptr);
        BitBlt(shot.dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
        for (const auto& icon : icons) {
            const RECT all = {0, 0, w, h};
            FillRect(onBlack.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            FillRect(onWhite.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            HICON handle = LoadIconA(nullptr, icon.id);
            DrawIconEx(onBlack.dc, 0, 0, handle, w, h, 0, nullptr, DI_NORMAL);
            DrawIconEx(onWhite.dc, 0, 0, handle, w, h, 0, nullptr, DI_NORMAL);
            GdiFlush();
            long distance = 0, covered = 0;
            for (int i = 0; i < w * h; ++i) {
                if (channelDistance(onBlack.pixels[i], onWhite.pixels[i]) != 0)
                    continue;
                distance += channelDistance(onBlack.pixels[i], shot.pixels[i]);
                ++covered;
            }
            if (covered > 0 && distance / covered < 24)
                return icon.name;
        }
    }
    return "unknown";
}

void reportBox(HWND box) {
    char caption[1024] = "";
    GetWindowTextA(box, caption, sizeof caption);
    std::string text = textOf(GetDlgItem(box, 0xFFFF));
    if (text.empty())
        EnumChildWindows(box, staticText, reinterpret_cast<LPARAM>(&text));
    std::string buttons;
    EnumChildWindows(box, buttonIds, reinterpret_cast<LPARAM>(&buttons));
    printf("BOX\t%s\t%s\t%s\t%s\n", escape(caption).c_str(), escape(text.c_str()).c_str(),
           iconOf(box), buttons.c_str());
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
