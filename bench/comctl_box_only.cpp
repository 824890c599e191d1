// Second yardstick for setup.exe refusing a Windows version: loads the common controls the way
// setup.exe must at start-up, then shows the same message box and ends. Its gap to box_only.exe
// is what the common-controls library costs, which setup.exe cannot leave out.
#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    MessageBoxA(nullptr, "Sorry!!We don't support this Operating System", "Worry", MB_OK);
    return 0;
}
