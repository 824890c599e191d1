// keycheck's verbs, each run as one: the simulated machine set up from the options, the verb's
// job on it (in the job's own folder), and its report (in report/). Each returns the exit status.
#pragma once

#include "tools/keycheck/options/options.h"

#include <ostream>

// 0 no finding, 1 findings, 2 the package could not be used.
int RunLint(const Options& options, std::ostream& out, std::ostream& err);
// 0 the launcher installs, 1 it refuses, 2 the package or export could not be used.
int RunPredict(const Options& options, std::ostream& out, std::ostream& err);
// 0 the export was read, 2 it (or the package) could not be used.
int RunDevices(const Options& options, std::ostream& out, std::ostream& err);
// 0 clean, 1 findings, 2 the package could not be used.
int RunXref(const Options& options, std::ostream& out, std::ostream& err);
// 0 no finding, 1 findings, 2 the folder could not be used or holds no TXTSETUP.OEM.
int RunTxtSetup(const Options& options, std::ostream& out, std::ostream& err);
// 0 written, 1 refused (too large, a name the medium would change), 2 the package could not
// be read or the tools are missing.
int RunDiskBuild(const Options& options, std::ostream& out, std::ostream& err);
// 0 no finding, 1 findings (lint's, xref's, txtsetup's), 2 a damaged image or none.
int RunDiskCheck(const Options& options, std::ostream& out, std::ostream& err);
// 0 written, 1 refused (more than 40 IDs, or none), 2 the package could not be used or the
// output not written. The key file goes to out without -o; the notes then go to err.
int RunGen(const Options& options, std::ostream& out, std::ostream& err);
