// Prints the result of keycheck predict, for people or as one JSON document.
#pragma once

#include "tools/keycheck/machine/machine_source.h"
#include "tools/keycheck/options/options.h"
#include "tools/keycheck/predict/install_check.h"
#include "tools/keycheck/predict/prediction.h"

#include <ostream>

// The setting is the one the launcher ran with: its folder and Windows folder as Windows gives
// them.
void PrintPredictionText(const Options& options, const LauncherSetting& setting,
                         const MachineSource& machine, const Prediction& prediction,
                         const InstallCheck& check, std::ostream& out);
void PrintPredictionJson(const Options& options, const LauncherSetting& setting,
                         const MachineSource& machine, const Prediction& prediction,
                         const InstallCheck& check, std::ostream& out);
