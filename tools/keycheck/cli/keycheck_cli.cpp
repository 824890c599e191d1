// keycheck's command line: runs the verb asked for and prints its report; returns the exit status.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "sim/fake_os.h"
#include "tools/keycheck/cli/command_line.h"
#include "tools/keycheck/devices/package_match.h"
#include "tools/keycheck/predict/machine_setup.h"
#include "tools/keycheck/report/devices_report.h"
#include "tools/keycheck/report/lint_report.h"
#include "tools/keycheck/report/predict_report.h"
#include "tools/keycheck/xref/xref_verbs.h"

namespace {
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
    RegExport registry;
    std::string error;
    if (!SetUpPackage(options, machine, error) ||
        !SetUpMachine(options, machine, registry, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    const Prediction prediction = PredictLauncher(machine);
    const InstallCheck check =
        CheckInstall(machine, options.dir, registry, prediction, options.codePage);
    const int status = prediction.Installs() ? 0 : 1;
    if (options.json)
        PrintPredictionJson(options, registry.summary, prediction, check, status, out);
    else
        PrintPredictionText(options, registry.summary, prediction, check, out);
    return status;
}

int Devices(Options options, std::ostream& out, std::ostream& err) {
    CFakeOs machine;
    UseCodePage(machine, options.codePage);
    PackageMatch package;
    RegExport registry;
    std::string error;
    const bool withPackage = !options.package.empty();
    if ((withPackage && !SetUpPackage(options, machine, error)) ||
        !ReadRegExportFile(options.registry, machine, registry, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    std::vector<PciBranch> branches = FindPciDevices(registry, options.codePage);
    if (withPackage)
        package = MatchPackage(machine, options.dir, branches);
    if (options.json)
        PrintDevicesJson(options, registry.summary, branches, withPackage ? &package : nullptr,
                         out);
    else
        PrintDevicesText(options, registry.summary, branches, withPackage ? &package : nullptr,
                         out);
    return 0;
}
}  // namespace

int RunKeycheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    std::string error;
    switch (ParseCommandLine(args, options, out, error)) {
    case ParseOutcome::Helped:
        return 0;
    case ParseOutcome::Failed:
        err << "keycheck: " << error << " (keycheck --help tells the usage)\n";
        return kUnusableInput;
    case ParseOutcome::Run:
        break;
    }
    switch (options.command) {
    case Command::Lint:
        return Lint(options, out, err);
    case Command::Predict:
        return Predict(options, out, err);
    case Command::Devices:
        return Devices(options, out, err);
    case Command::Xref:
        return RunXref(options, out, err);
    case Command::Gen:
        return RunGen(options, out, err);
    }
    return kUnusableInput;
}
