// Prints the result of keycheck txtsetup, for people or as one JSON document.
#pragma once

#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/report/json_text.h"

#include <ostream>
#include <string>

void PrintTxtSetupText(const std::string& folder, const F6Check& result, std::ostream& out);
void PrintTxtSetupJson(const std::string& folder, const F6Check& result, std::ostream& out);
// The document PrintTxtSetupJson prints, for a report that holds it.
Json TxtSetupJson(const std::string& folder, const F6Check& result);
