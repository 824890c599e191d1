// The names keycheck shows for Windows versions: the --os names, and the launcher's codes.
#pragma once

#include "osinfo/os_type.h"
#include "sim/windows_versions.h"

#include <string>

// The --os names, comma-separated.
std::string WindowsVersionOptions();

// The launcher's constant for an OsType code, such as "OS_WINXP".
const char* OsTypeName(OsType type);
