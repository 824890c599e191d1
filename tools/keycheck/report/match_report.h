// The reports of keycheck match: each device, its IDs, and the library's drivers for it,
// ranked.
#pragma once

#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/match/library_match.h"

#include <ostream>
#include <string>

void PrintMatchText(const std::string& machine, const std::string& library,
                    const MachineSource& source, const std::vector<DeviceMatch>& matches,
                    int codePage, std::ostream& out);
void PrintMatchJson(const std::string& machine, const std::string& library,
                    const MachineSource& source, const std::vector<DeviceMatch>& matches,
                    std::ostream& out);
