// The reports of keycheck xref: text for people, one JSON document for programs.
#pragma once

#include "tools/keycheck/xref/xref.h"

#include <ostream>
#include <string>

// 0 no finding, 1 findings (warnings alone leave it 0).
int XrefStatus(const XrefResult& result);

void PrintXrefText(const std::string& package, const XrefResult& result, std::ostream& out);
void PrintXrefJson(const std::string& package, const XrefResult& result, std::ostream& out);
