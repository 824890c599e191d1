// Sets the fake machine up from keycheck's options: the package, the version, the registry.
#pragma once

#include "tools/keycheck/options/options.h"
#include "tools/keycheck/regexport/reg_export.h"

#include <string>

class CFakeOs;

// The package's files at --dir with the launcher as setup.exe beside them, on a machine that is
// installed and in the options' code page. Brings --dir and --windir into the form Windows
// gives them: the program's folder ending in a backslash, the Windows folder without one except
// at a drive's root.
bool SetUpPackage(Options& options, CFakeOs& machine, std::string& error);

// For predict: the Windows version, the Windows folder and the registry export's keys; the
// export's keys and values stay in registry.
bool SetUpMachine(const Options& options, CFakeOs& machine, RegExport& registry,
                  std::string& error);
