// Yardstick for setup.exe's device-key walk: opens the NT PCI branch as setup.exe does,
// enumerates every subkey into the same buffer without looking at the names, closes the key
// and shows setup.exe's no-device message box. Built twice: walk_only.exe, and
// comctl_walk_only.exe, which first loads the common controls as setup.exe must at start-up.
#include <windows.h>

#include <commctrl.h>

#include "app/shipped_texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
#ifdef LOAD_COMMON_CONTROLS
    InitCommonControls();
#endif
    HKEY pci = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\PCI", 0, KEY_READ,
                      &pci) == ERROR_SUCCESS) {
        DWORD subKeys = 0;
        if (RegQueryInfoKeyA(pci, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            char name[256];
            for (DWORD i = 0; i < subKeys; ++i) {
                if (RegEnumKeyA(pci, i, name, 255) != ERROR_SUCCESS)
                    break;
            }
        }
        RegCloseKey(pci);
    }
    MessageBoxA(nullptr, kTextNoDeviceNt, kCaptionWorry, MB_OK);
    return 0;
}
