// The findings about key.ini's text: every sharp edge of the format the launcher reads.
//
// Thread rule: a pure function; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/launcher/key_file.h"

#include <vector>

// The findings about the key file the launcher read (its bytes, its entries as FindKeyEntries
// finds them, the device-ID table the launcher made of it), in codePage, ordered by offset;
// each names "key.ini" and, where it is about one place, its offset and line.
std::vector<Finding> KeyFileFindings(const KeyFile& keyFile, int codePage);
