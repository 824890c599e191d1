// One logical INF line cut into its key and comma-separated fields.
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

// Cuts raw into key and fields. With strings, %strkey% tokens are replaced from it and %%
// gives one %; without (in a [Strings] section), the text is taken as written.
InfLine ParseInfEntry(const InfRawLine& raw, StringLookup* strings);
