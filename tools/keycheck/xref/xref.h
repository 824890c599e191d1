// keycheck xref: key.ini against the models each Windows version reads in the package's INF.
//
// Thread rule: a pure function of the package; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/signing/signing_check.h"

#include <string>
#include <vector>

// A models line that installs a device whose key name holds a key.ini entry.
struct EntryCover {
    const ModelLine* line;
    std::string id;  // the line's ID that does it
    DeviceIdKind deviceKind;
    bool lineCompatibleId;
    bool complete;  // every device the entry reaches, not only some subsystem or revision
};

struct KeyEntryCheck {
    int number;  // from 1, in key.ini's order
    int line;    // in key.ini
    std::string id;
    bool whole;
};

struct VersionXref {
    VersionInf inf;
    std::vector<std::vector<EntryCover>> covers;  // per key.ini entry, in order
};

struct XrefResult {
    int codePage = 1252;  // the ANSI code page key.ini was read in
    bool keyFileFound = false;
    std::vector<KeyEntryCheck> entries;  // the launcher's table, empty IDs left out
    std::vector<VersionXref> versions;   // in the order of kInfVersions
    SigningCheck signing;                // whether each version trusts the driver
    // Findings, warnings and notes (what needs no change, said so that nothing goes
    // unexplained), each in the order first said; the F6 file's hold for 2000 and XP.
    std::vector<Finding> findings;
};

// With readCatalogs (and a build that reads them), the catalogs are read and checked.
XrefResult CrossCheck(const Package& package, bool readCatalogs);
