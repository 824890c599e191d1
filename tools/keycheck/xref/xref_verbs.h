// Running keycheck's xref and gen verbs: the cross-check and the generated key file, reported.
#pragma once

#include "tools/keycheck/cli/options.h"

#include <ostream>

// Exit status 0 clean, 1 findings, 2 the package could not be used.
int RunXref(Options options, std::ostream& out, std::ostream& err);
// Exit status 0 written, 1 refused (more than 40 IDs, or none), 2 the package could not be
// used or the output not written. The key file goes to out without -o; the notes then go to err.
int RunGen(Options options, std::ostream& out, std::ostream& err);
