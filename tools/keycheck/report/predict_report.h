// Prints the result of keycheck predict, for people or as one JSON document.
#pragma once

#include "tools/keycheck/options/options.h"
#include "tools/keycheck/predict/install_check.h"
#include "tools/keycheck/predict/prediction.h"
#include "tools/keycheck/regexport/reg_export.h"

#include <ostream>

void PrintPredictionText(const Options& options, const RegExportSummary& registry,
                         const Prediction& prediction, const InstallCheck& check,
                         std::ostream& out);
void PrintPredictionJson(const Options& options, const RegExportSummary& registry,
                         const Prediction& prediction, const InstallCheck& check, int exitStatus,
                         std::ostream& out);
