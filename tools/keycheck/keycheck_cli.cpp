// keycheck's command line: runs lint or predict and prints the report; returns the exit status.
#include "tools/keycheck/keycheck_cli.h"

#include "sim/fake_os.h"
#include "tools/keycheck/lint_report.h"
#include "tools/keycheck/machine_setup.h"
#include "tools/keycheck/options.h"
#include "tools/keycheck/predict_report.h"

namespace {
const int kUnusableInput = 2;

int Lint(Options options, std::ostream& out, std::ostream& err) {
    CFakeOs machine;
    std::string error;
    if (!SetUpPackage(options, machine, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    const LintResult result = LintPackage(machine, options.dir);
    const int status = result.findings.empty() ? 0 : 1;
    if (options.json)
        PrintLintJson(options, result, status, out);
    else
        PrintLintText(options, result, out);
    return status;
}

int Predict(Options options, std::ostream& out, std::ostream& err) {
    CFakeOs machine;
    RegExportSummary registry;
    std::string error;
    if (!SetUpPackage(options, machine, error) ||
        !SetUpMachine(options, machine, registry, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    const Prediction prediction = PredictLauncher(machine);
    const int status = prediction.Installs() ? 0 : 1;
    if (options.json)
        PrintPredictionJson(options, registry, prediction, status, out);
    else
        PrintPredictionText(options, registry, prediction, out);
    return status;
}
}  // namespace

int RunKeycheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        err << "keycheck: " << error << " (keycheck --help tells the usage)\n";
        return kUnusableInput;
    }
    if (options.command == Command::Lint)
        return Lint(options, out, err);
    if (options.command == Command::Predict)
        return Predict(options, out, err);
    out << kUsage;
    return 0;
}
