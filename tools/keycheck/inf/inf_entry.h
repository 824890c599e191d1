// An entry's %strkey% tokens replaced from the [Strings] sections Windows reads.
#pragma once

#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_lines.h"

#include <map>
#include <string>
#include <vector>

// The string keys an entry may use (upper case) and the ones it used that are not there.
struct StringLookup {
    const std::map<std::string, std::string>* table;
    std::vector<std::string> undefined;
};

// raw's key and fields with their tokens replaced from strings, and "%%" made one "%"; without
// strings (in a [Strings] section), as written.
InfLine ExpandInfEntry(const InfRawLine& raw, StringLookup* strings);
