// The fault sweep: each operating-system call of a normal run made to fail in turn, on each of
// the four supported paths, and what the user sees each time, as one table.
#pragma once

#include "sim/fake_os.h"

#include <string>

struct Scenario {
    const char* name;
    const char* version;
};
extern const Scenario kScenarios[4];

// A machine of the scenario's version holding the package, the device and the folders a
// normal run uses.
void Arrange(CFakeOs& os, const Scenario& scenario);

// The whole table, as tests/fault_sweep_expected.txt holds it.
std::string SweepTable();
