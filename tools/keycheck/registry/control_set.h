// The current control set of a SYSTEM hive exported as it is stored, without CurrentControlSet.
//
// Thread rule: a pure function of the tree it is given; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"

#include <string>

// An export of a SYSTEM hive loaded under any name (reg load HKLM\NAME, or hivex's tools) names
// its control sets ControlSet001, ControlSet002 ..., and the value Current of its key Select
// says which one the machine boots with; on the running machine that one is
// SYSTEM\CurrentControlSet. Where the tree has no SYSTEM\CurrentControlSet, gives it one as a
// copy of the current control set's Enum branch, and returns that set's path below
// HKEY_LOCAL_MACHINE ("TEMP\ControlSet001"); else, or without such a hive, returns "".
std::string MapCurrentControlSet(RegKeyTree& tree);
