// Prints the result of keycheck disk check, for people or as one JSON document: the reports of
// lint, xref and txtsetup on what the disk holds, each naming the image.
#pragma once

#include "tools/keycheck/disk/disk_check.h"
#include "tools/keycheck/options/options.h"

#include <ostream>

void PrintDiskCheckText(const Options& options, const DiskCheck& check, std::ostream& out);
void PrintDiskCheckJson(const Options& options, const DiskCheck& check, std::ostream& out);
