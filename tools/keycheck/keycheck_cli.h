// keycheck's command line: runs lint or predict and prints the report; returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// args are the arguments after the program's name. Returns 0 (installs, or no warning),
// 1 (refuses, or warnings) or 2 (unusable input, with a one-line error on err).
int RunKeycheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
