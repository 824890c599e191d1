// The Windows entry point: hands the instance handle to the framework's main function.
#include "platform/winapp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(reinterpret_cast<OsInstance>(instance));
}
