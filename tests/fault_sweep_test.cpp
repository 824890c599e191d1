// Fault sweep: each operating-system call of a normal run made to fail in turn, on each of the
// four supported paths; the outcomes must match the table kept in fault_sweep_expected.txt.
//
// After a deliberate change of behaviour, rewrite the table with scripts/update-fault-sweep.sh
// and read every changed line before committing it; a test run never writes it.
#include "tests/fault_sweep.h"

#include "sim/app_runner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

void PrintTo(const Scenario& row, std::ostream* out) {
    *out << row.name;
}

namespace {

// The runtime heap behind the launcher's strings, exhausted at each allocation of a normal run
// in turn: the launcher cannot go on with a cut-down path or command line, so it ends at once
// with status 0, as every refusal does.
class ExhaustedTextHeapTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExhaustedTextHeapTest, EndsTheRunWithStatusZero) {
    CFakeOs normal;
    Arrange(normal, GetParam());
    RunLauncher(normal);
    ASSERT_GT(normal.textAllocations, 0);
    for (int n = 1; n <= normal.textAllocations; ++n) {
        CFakeOs os;
        Arrange(os, GetParam());
        os.failTextAllocation = n;
        const LauncherRun run = RunLauncher(os);
        EXPECT_TRUE(run.endedByExitCall && run.exitStatus == 0)
            << "allocation " << n << ": exit " << run.exitStatus;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ExhaustedTextHeapTest, ::testing::ValuesIn(kScenarios),
                         [](const auto& row) { return "Windows" + std::string(row.param.name); });

TEST(FaultSweepTest, EachFailingCallGivesTheOutcomeInTheTable) {
    const std::string path = std::string(SOURCE_DIR) + "/tests/fault_sweep_expected.txt";
    const std::string actual = SweepTable();
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot read " << path;
    std::stringstream expected;
    expected << file.rdbuf();

    std::istringstream want(expected.str()), got(actual);
    std::string wantLine, gotLine;
    int lineNumber = 0;
    while (true) {
        const bool moreWant = static_cast<bool>(std::getline(want, wantLine));
        const bool moreGot = static_cast<bool>(std::getline(got, gotLine));
        ++lineNumber;
        if (!moreWant && !moreGot)
            break;
        EXPECT_EQ(gotLine, wantLine) << "fault_sweep_expected.txt line " << lineNumber;
        if (!moreWant || !moreGot)
            break;
    }
}
}  // namespace
