// keycheck xref: key.ini against the models each Windows version reads in the package's INF.
#pragma once

#include "tools/keycheck/inf/version_inf.h"

#include <string>
#include <vector>

class CFakeOs;

struct XrefFinding {
    std::string code;                   // a short stable name, such as "entry-not-installed"
    std::string file;                   // "key.ini" or the INF as the package names it
    int line;                           // 0 when about the whole file
    std::vector<std::string> versions;  // the --os names it holds for; empty: all
    std::string text;
};

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
    std::vector<XrefFinding> findings;   // make the status 1
    std::vector<XrefFinding> warnings;
    std::vector<XrefFinding> notes;  // what needs no change, said so that nothing goes unexplained
};

// Cross-checks the package the fake machine holds in dir (a Windows folder ending in a
// backslash), reading key.ini with the launcher's own loader.
// The INF files are read with the strings of language (0: the machine's code page's own).
XrefResult CrossCheck(CFakeOs& machine, const std::string& dir, int language = 0);

// The --os name of one of kInfVersions, such as "98se".
const char* VersionOption(OsType version);
