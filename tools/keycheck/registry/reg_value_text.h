// The text a registry value holds: a string, an expandable string or a multi-string.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>
#include <vector>

// The strings of value, in codePage: one for "text" and hex(2):, each of a hex(7):
// multi-string up to its closing empty one. hex(2): and hex(7): bytes are UTF-16LE in a
// version 5.00 export and code-page bytes in a REGEDIT4 one, whatever the file's own encoding.
// Other types give none.
std::vector<std::string> RegValueStrings(const RegValue& value, RegFormat format, int codePage);
