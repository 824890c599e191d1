// The findings about key.ini's text: every sharp edge of the format the launcher reads.
#pragma once

#include "tools/keycheck/package/key_entries.h"
#include "tools/keycheck/package/package_lint.h"

#include <string>
#include <vector>

// The findings about the file's bytes, given its entries as FindKeyEntries finds them and the
// device-ID table the launcher made of it, ordered by offset.
std::vector<LintFinding> KeyFileFindings(const std::string& bytes,
                                         const std::vector<KeyEntry>& entries,
                                         const std::vector<std::string>& table);
