// A Windows 2000/XP SYSTEM hive (%SystemRoot%\system32\config\SYSTEM) read as the running
// machine's registry would show its current control set's PCI branch.
//
// Thread rule: pure functions of their arguments; any thread.
#pragma once

#include "tools/keycheck/registry/hive_source.h"
#include "tools/keycheck/registry/reg_key_tree.h"

#include <string>

// Whether bytes start as a registry hive file does, with the signature "regf".
bool IsHiveFile(const std::string& bytes);

// The PCI branch of the control set requested ("ControlSet002" or "2", from --control-set), or
// else of the one Select's Current names, as
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI with its keys and values in tree (made
// in codePage): names in
// codePage, REG_SZ values as text in codePage and other values' data as stored (so strings in
// UTF-16LE, as in a version 5.00 export); controlSet gets that set's name ("ControlSet001"). On
// failure, error says why.
bool ReadSystemHive(const HiveSource& hive, int codePage, const std::string& requested,
                    RegKeyTree& tree, std::string& controlSet, std::string& error);

// The values of a SOFTWARE hive's Microsoft\Windows NT\CurrentVersion (where 2000/XP record
// their version) as HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion in tree,
// strings in codePage; nothing when the hive has no such key or is damaged there.
void ReadNtVersionKey(const HiveSource& hive, int codePage, RegKeyTree& tree);
