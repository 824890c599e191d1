// Yardstick for setup.exe refusing a Windows version: shows the same message box and ends.
// Built twice: box_only.exe, and comctl_box_only.exe, which first loads the common controls as
// setup.exe must at start-up.
#include <windows.h>

#include <commctrl.h>

#include "app/shipped_texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#ifdef LOAD_COMMON_CONTROLS
    InitCommonControls();
#endif
    MessageBoxA(nullptr, kTextUnsupportedSystem, kCaptionWorry, MB_OK);
    return 0;
}
