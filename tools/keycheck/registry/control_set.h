// The current control set of a SYSTEM hive exported as it is stored, without CurrentControlSet.
//
// Thread rule: a pure function of the tree it is given; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"

#include <string>
#include <vector>

// An export of a SYSTEM hive loaded under any name (reg load HKLM\NAME, then reg export; or
// hivexregedit --export, whose key paths start at the hive's root) names its control sets
// ControlSet001, ControlSet002 ..., and the value Current of its key Select says which one the
// machine boots with; on the running machine that one is SYSTEM\CurrentControlSet.
struct ControlSetChoice {
    std::string read;  // below HKEY_LOCAL_MACHINE ("OFFLINE\ControlSet001"), or "" for none
    // How it was chosen: "Select\Current", "the only control set", "--control-set".
    std::string how;
    std::vector<std::string> found;  // every control set with an Enum key, below HKLM
};

// Where the tree has no SYSTEM\CurrentControlSet, finds the control sets with an Enum key
// directly below HKEY_LOCAL_MACHINE or one key below it, and gives the tree a
// SYSTEM\CurrentControlSet\Enum that is a copy of the chosen one's: the one requested
// ("ControlSet002" or "2", from --control-set), else the one its Select names, else the only
// one. False, with error, when several are found and nothing says which, or the requested one is
// not among them.
bool MapCurrentControlSet(RegKeyTree& tree, const std::string& requested, ControlSetChoice& choice,
                          std::string& error);

// Whether name is a control set's: "ControlSet" and three digits, in any case.
bool IsControlSetName(const std::string& name);

// Whether requested ("ControlSet002", "controlset002" or "2") names the control set name.
bool NamesControlSet(const std::string& requested, const std::string& name);
