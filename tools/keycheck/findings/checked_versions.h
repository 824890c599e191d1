// The Windows versions keycheck checks a package for, and which of them read what.
//
// Thread rule: constant data and pure functions; any thread.
#pragma once

#include "osinfo/os_type.h"

// The four versions the launcher installs on, in the order keycheck reports them.
const OsType kInfVersions[] = {OS_WIN98SE, OS_WINME, OS_WIN2000, OS_WINXP};

// The versions whose text-mode setup reads a driver disk's TXTSETUP.OEM when the user presses
// F6 ("TxtSetup.oem File Format": Windows 2000 and Windows XP).
const OsType kF6Versions[] = {OS_WIN2000, OS_WINXP};

// Whether the version is one of the NT family.
bool IsNtVersion(OsType version);

// The --os name of one of kInfVersions, such as "98se", and its label, such as "Windows 98 SE".
const char* VersionOption(OsType version);
const char* VersionLabel(OsType version);
