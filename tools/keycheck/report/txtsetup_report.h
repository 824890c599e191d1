// Prints the result of keycheck txtsetup, for people or as one JSON document.
#pragma once

#include "tools/keycheck/txtsetup/txtsetup_check.h"

#include <ostream>
#include <string>

// 0 no finding (warnings allowed), 1 findings.
int TxtSetupStatus(const TxtSetupResult& result);

void PrintTxtSetupText(const std::string& folder, const TxtSetupResult& result, std::ostream& out);
void PrintTxtSetupJson(const std::string& folder, const TxtSetupResult& result, std::ostream& out);
