// Checks a driver package as the launcher will read it: key.ini's sharp edges, missing files.
#pragma once

#include "device/device_id_table.h"

#include "tools/keycheck/package/key_entries.h"

#include <cstddef>
#include <string>
#include <vector>

class CFakeOs;

struct LintFinding {
    std::string code;  // a short stable name, such as "bare-line-feed"
    int offset;        // in key.ini, or -1
    std::string text;
};

struct PackageFileCheck {
    std::string path;    // below the package folder, as the launcher names it
    std::string usedBy;  // where the launcher uses it
    bool present;
};

struct LintResult {
    bool keyFileFound = false;
    std::size_t keyFileSize = 0;
    std::string keyText;             // what the launcher reads: the bytes before the first NUL
    std::vector<KeyEntry> entries;   // all of them, the ignored ones after the 40th too
    std::vector<std::string> table;  // the device-ID table the launcher is left with
    DeviceIdTable listed{};          // the same, with its screening, for the launcher's match
    std::vector<PackageFileCheck> files;
    std::vector<LintFinding> findings;  // those of key.ini by offset, then the files'
};

// Loads key.ini from dir (the package's Windows folder in machine) with the launcher's own
// loader, and checks it and the package files the launcher uses.
LintResult LintPackage(CFakeOs& machine, const std::string& dir);
