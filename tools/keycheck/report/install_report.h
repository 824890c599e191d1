// Reports what would install a device on one version, for people and as JSON.
#pragma once

#include "tools/keycheck/devices/install_lookup.h"
#include "tools/keycheck/report/json_text.h"

#include <string>

// One line: the version, its INF, and the models line with the kind of match, or why none.
// The device ID is shown in the terminal's encoding, read as ANSI text of codePage.
std::string InstallText(const InstallVerdict& verdict, int codePage);

Json InstallJson(const InstallVerdict& verdict);
