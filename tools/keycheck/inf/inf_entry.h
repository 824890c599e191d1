// An entry's %strkey% tokens replaced from the [Strings] sections Windows reads.
#pragma once

#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_lines.h"

#include <string>
#include <unordered_map>
#include <vector>

// The [Strings] keys Windows reads (upper case) and their values.
using StringTable = std::unordered_map<std::string, std::string>;

// The string keys an entry may use and the ones it used that are not there.
struct StringLookup {
    const StringTable* table;
    std::vector<std::string> undefined;
};

// raw's key and fields with their tokens replaced from strings, and "%%" made one "%"; without
// strings (in a [Strings] section), as written.
InfLine ExpandInfEntry(InfRawLine&& raw, StringLookup* strings);
