// keycheck's command line: runs the verb asked for and prints its report; returns the exit status.
#include "tools/keycheck/cli/keycheck_cli.h"

#include "tools/keycheck/cli/command_line.h"
#include "tools/keycheck/cli/verb_table.h"

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
    return FindVerb(options.verb)->run(options, out, err);
}
