// keycheck's command line, read with CLI11: one subcommand per verb, each with --help.
#pragma once

#include "tools/keycheck/options/options.h"

#include <ostream>
#include <string>
#include <vector>

enum class ParseOutcome {
    Run,     // options hold a verb to run
    Helped,  // help was asked for and printed on out
    Failed,  // error holds one line saying what is wrong
};

// args are the arguments after the program's name.
ParseOutcome ParseCommandLine(const std::vector<std::string>& args, Options& options,
                              std::ostream& out, std::string& error);
