// Prints the result of keycheck lint, for people or as one JSON document.
#pragma once

#include "tools/keycheck/options/options.h"
#include "tools/keycheck/package/package_lint.h"

#include <ostream>

void PrintLintText(const Options& options, const LintResult& result, std::ostream& out);
void PrintLintJson(const Options& options, const LintResult& result, int exitStatus,
                   std::ostream& out);
