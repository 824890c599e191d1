// OsType: the one-byte code of the running Windows version on which the launcher decides.
#pragma once

#include <cstdint>

typedef std::uint8_t OsType;

const OsType OS_NONE = 0;
const OsType OS_WIN32S = 9;
const OsType OS_WIN95 = 10;
const OsType OS_WIN98 = 11;
const OsType OS_WIN98SE = 12;
const OsType OS_WINNT4 = 13;
const OsType OS_WIN2000 = 14;
const OsType OS_WINME = 15;
const OsType OS_WINXP = 16;
