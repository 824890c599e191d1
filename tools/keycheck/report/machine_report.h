// How the reports name the machine they read: its file, kind, encoding and control set.
#pragma once

#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/report/json_text.h"

#include <string>

// The JSON reports' "registry" member: the file as named, its encoding and format, the keys
// under HKEY_LOCAL_MACHINE and the control set read as CurrentControlSet (null when none).
Json MachineJson(const std::string& file, const MachineSource& machine);
