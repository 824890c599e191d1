// Host benchmarks of the launcher's logic on the simulated machine: the key-file parser and
// loader, and the device-key search, each beside a yardstick measured in the same run.
#include "bench/launcher_bench.h"

#include <benchmark/benchmark.h>

std::string BenchName(const char* what, const std::string& which) {
    return std::string(what) + "/" + which;
}

std::string BenchLabel(const std::string& baseline, const char* goal) {
    return "baseline: " + baseline + (goal != nullptr ? std::string("; goal: ") + goal : "");
}

int main(int argc, char** argv) {
    RegisterKeyFileBenchmarks();
    RegisterDeviceSearchBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
