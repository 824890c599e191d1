// Prints the result of keycheck lint, for people or as one JSON document.
#pragma once

#include "tools/keycheck/launcher/key_file.h"
#include "tools/keycheck/lint/lint.h"
#include "tools/keycheck/options/options.h"
#include "tools/keycheck/report/json_text.h"

#include <ostream>

void PrintLintText(const Options& options, const KeyFile& keyFile, const LintResult& result,
                   std::ostream& out);
void PrintLintJson(const Options& options, const KeyFile& keyFile, const LintResult& result,
                   std::ostream& out);
// The document PrintLintJson prints, for a report that holds it.
Json LintJson(const Options& options, const KeyFile& keyFile, const LintResult& result);

// A finding's text as lint says it: a key.ini finding by its place, an F6 file's finding led by
// "TXTSETUP.OEM:line: ", a missing file's as it is.
std::string LintFindingText(const Finding& finding);
