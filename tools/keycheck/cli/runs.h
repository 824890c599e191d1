// Each verb's run: its input read from the options (a package, a machine, an image), its job,
// its report, its exit status. Each returns the exit status and tells unusable input in one
// line on err.
#pragma once

#include "tools/keycheck/options/options.h"

#include <ostream>

int RunLint(const Options& options, std::ostream& out, std::ostream& err);
int RunPredict(const Options& options, std::ostream& out, std::ostream& err);
int RunDevices(const Options& options, std::ostream& out, std::ostream& err);
int RunXref(const Options& options, std::ostream& out, std::ostream& err);
int RunGen(const Options& options, std::ostream& out, std::ostream& err);
int RunTxtSetup(const Options& options, std::ostream& out, std::ostream& err);
int RunCatalog(const Options& options, std::ostream& out, std::ostream& err);
int RunSurvey(const Options& options, std::ostream& out, std::ostream& err);
int RunMatch(const Options& options, std::ostream& out, std::ostream& err);
int RunDiskBuild(const Options& options, std::ostream& out, std::ostream& err);
int RunDiskCheck(const Options& options, std::ostream& out, std::ostream& err);
