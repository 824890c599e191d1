// keycheck's command line: runs the verb asked for and prints its report; returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// args are the arguments after the program's name. Returns 0 (installs, no finding, or the
// export was read), 1 (refuses, or findings) or 2 (unusable input, with a one-line error on
// err); a warning never changes the status.
int RunKeycheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
