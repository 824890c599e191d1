// The package files the launcher places on Windows Me and Windows 98 SE, in copy order, and the
// INF it hands the installer on Windows 2000 and XP.
#pragma once

// Under the program directory.
extern const char* const kNtInstallerInf;

struct PackageCopy {
    const char* source;       // under the program directory
    const char* destination;  // under the Windows directory
};

const int kWinMeCopyCount = 12;
const int kWin98SeCopyCount = 11;

extern const PackageCopy kWinMeCopies[kWinMeCopyCount];
// 98 SE takes its own INF, shipped as hx5820.ina, and has no catalog.
extern const PackageCopy kWin98SeCopies[kWin98SeCopyCount];
