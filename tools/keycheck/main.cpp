// keycheck's entry point.
#include "tools/keycheck/cli/keycheck_cli.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunKeycheck(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
