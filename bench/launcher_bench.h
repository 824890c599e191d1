// What the host benchmarks share: their names and labels, and the simulated machine of the
// device-search benchmarks, which the key-file benchmarks end before making their own.
//
// Every measured benchmark carries the label "baseline: NAME" naming the yardstick it is to be
// compared with, and "; goal: RATIO" where the ratio has a goal; bench/bench_table.py pairs
// them up. Each one checks what the code under measure produced and reports an error instead
// of a time when it is wrong.
#pragma once

#include <string>

// "what/which", as the table names a benchmark.
std::string BenchName(const char* what, const std::string& which);
// The label bench_table.py reads: the yardstick's name and, where there is one, the goal for
// the ratio to it.
std::string BenchLabel(const std::string& baseline, const char* goal);

void RegisterKeyFileBenchmarks();
void RegisterDeviceSearchBenchmarks();
