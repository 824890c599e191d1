// Win32 constants the launcher passes through the operating-system seam, with their Win32 values.
#pragma once

#include "platform/os_api.h"

#include <cstdint>

const OsKey HKEY_LOCAL_MACHINE = 0x80000002u;

const std::uint32_t KEY_READ = 0x00020019u;
const std::uint32_t KEY_ALL_ACCESS = 0x000F003Fu;

const long ERROR_SUCCESS = 0;

const std::uint32_t MB_OK = 0x00000000u;
const std::uint32_t MB_ICONEXCLAMATION = 0x00000030u;

const std::uint32_t SW_HIDE = 0;

const std::uint32_t VER_PLATFORM_WIN32s = 0;
const std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
const std::uint32_t VER_PLATFORM_WIN32_NT = 2;
