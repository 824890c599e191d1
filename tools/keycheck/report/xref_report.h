// The reports of keycheck xref: text for people, one JSON document for programs.
#pragma once

#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/xref/xref.h"

#include <ostream>
#include <string>

void PrintXrefText(const std::string& package, const XrefResult& result, std::ostream& out);
void PrintXrefJson(const std::string& package, const XrefResult& result, std::ostream& out);
// The document PrintXrefJson prints, for a report that holds it.
Json XrefJson(const std::string& package, const XrefResult& result);

// The JSON of a list of findings: code, file, line (null for 0), versions, text.
Json FindingsJson(const std::vector<const Finding*>& list);
