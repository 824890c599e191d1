// Yardstick for setup.exe refusing a Windows version: shows the same message box and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "Sorry!!We don't support this Operating System", "Worry", MB_OK);
    return 0;
}
