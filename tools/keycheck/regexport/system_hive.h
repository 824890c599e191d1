// A Windows 2000/XP SYSTEM hive file (%SystemRoot%\system32\config\SYSTEM) read as an export of
// its current control set's PCI branch.
#pragma once

#include "tools/keycheck/regexport/hive_source.h"
#include "tools/keycheck/regexport/reg_export.h"

#include <string>

// Whether bytes start as a registry hive file does, with the signature "regf".
bool IsHiveFile(const std::string& bytes);

// The PCI branch of the control set Select's Current names, as an export of the running
// machine would hold it: HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI with its keys and
// values, names in codePage, REG_SZ values as text in codePage and other values' data as stored
// (so strings in UTF-16LE, as in a version 5.00 export). On failure, error says why.
bool ReadSystemHive(const HiveSource& hive, int codePage, RegExport& contents, std::string& error);

// The same for the hive file at path, read through hivex; a file hivex refuses (damaged,
// truncated) gives "path: ...", and so does one without a current control set.
bool ReadSystemHiveFile(const std::string& path, int codePage, RegExport& contents,
                        std::string& error);
