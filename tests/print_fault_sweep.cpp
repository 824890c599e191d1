// Prints the fault-sweep table, for scripts/update-fault-sweep.sh to write over the expected one.
#include "tests/fault_sweep.h"

#include <iostream>

int main() {
    std::cout << SweepTable();
    return 0;
}
