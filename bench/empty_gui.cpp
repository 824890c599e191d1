// An empty GUI program, built like setup.exe, as the yardstick for its start-up under Wine.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
