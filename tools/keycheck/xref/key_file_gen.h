// keycheck gen: a key.ini made from the PCI IDs of the models the four versions read.
//
// Thread rule: a pure function of the package; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct VersionLack {
    OsType version;
    std::vector<std::string> ids;  // of the union, the ones its models do not name
};

struct GeneratedKeyFile {
    std::vector<std::string> ids;      // VEN_xxxx&DEV_xxxx, upper case, in order of first use
    std::vector<VersionLack> lacks;    // versions whose models do not name every ID
    std::vector<std::string> skipped;  // PCI IDs naming no device, such as class-code ones
    std::vector<Finding> unreadable;   // INF files a version cannot read, each for one version
    std::string text;                  // the key.ini, CRLF line ends; empty when refused
    std::string refusal;               // why nothing was written, or empty
};

GeneratedKeyFile GenerateKeyFile(const Package& package);
