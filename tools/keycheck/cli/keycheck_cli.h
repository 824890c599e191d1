// keycheck's command line: runs the verb asked for and prints its report; returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// args are the arguments after the program's name. Returns 0 (installs, no warning, or the
// export was read), 1 (refuses, or warnings) or 2 (unusable input, with a one-line error on
// err).
int RunKeycheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
