// key.ini as the launcher's own loader reads it, and the launcher's own match of its entries
// against device key names: keycheck runs the launcher's logic for both, never a copy of it.
//
// Thread rule: any thread; each call is one launcher run on a machine of its own, under the
// process's one lock around launcher runs.
#pragma once

#include "device/device_id_table.h"
#include "tools/keycheck/launcher/key_entries.h"

#include <string>
#include <vector>

struct KeyFile {
    bool found = false;  // the loader read it; without it the launcher shows its box and ends
    std::string name;    // as the package holds it: "key.ini", "KEY.INI", ...
    std::string bytes;   // the whole file
    std::string text;    // what the launcher reads: the bytes before the first NUL
    std::vector<KeyEntry> entries;   // all of them, the ignored ones after the 40th too
    std::vector<std::string> table;  // the device-ID table the launcher is left with
    DeviceIdTable listed{};          // the same, with its screening, for the launcher's match
};

// Runs the launcher's loader on a machine in codePage whose program folder holds name with
// bytes, or, when present is false, holds no key file.
KeyFile LoadKeyFile(bool present, const std::string& name, const std::string& bytes, int codePage);

// For each name, the index of the first entry of the launcher's device-ID table its own match
// finds in it (compared character by character in codePage, case by case), or -1.
std::vector<int> ListedEntriesIn(const DeviceIdTable& listed, const std::vector<std::string>& names,
                                 int codePage);
