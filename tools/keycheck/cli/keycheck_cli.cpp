// keycheck's command line: runs the verb asked for and prints its report; returns the exit status.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "tools/keycheck/cli/command_line.h"
#include "tools/keycheck/cli/verbs.h"

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
        return RunLint(options, out, err);
    case Command::Predict:
        return RunPredict(options, out, err);
    case Command::Devices:
        return RunDevices(options, out, err);
    case Command::Xref:
        return RunXref(options, out, err);
    case Command::Gen:
        return RunGen(options, out, err);
    case Command::TxtSetup:
        return RunTxtSetup(options, out, err);
    case Command::DiskBuild:
        return RunDiskBuild(options, out, err);
    case Command::DiskCheck:
        return RunDiskCheck(options, out, err);
    }
    return kUnusableInput;
}
