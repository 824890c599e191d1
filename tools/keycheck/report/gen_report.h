// Prints what keycheck gen tells beside the key file it writes: the IDs it left out and why.
#pragma once

#include "tools/keycheck/xref/key_file_gen.h"

#include <ostream>

// The INF lines that could not be read, what each version's models lack, and the IDs no
// device key name can hold; one "keycheck gen: " line each.
void PrintGenNotes(const GeneratedKeyFile& generated, std::ostream& notes);
