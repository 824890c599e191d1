// Fault sweep: each operating-system call of a normal run made to fail in turn, on each of the
// four supported paths; the outcomes must match the table kept in fault_sweep_expected.txt.
//
// After a deliberate change of behaviour, rewrite the table with UPDATE_FAULT_SWEEP=1 and read
// every changed line before committing it.
#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {
const char* const kDevice = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01";

struct Scenario {
    const char* name;
    const char* version;
};
const Scenario kScenarios[] = {
    {"xp", "winxp"}, {"2000", "win2k"}, {"98se", "win98"}, {"me", "winme"}};

void Arrange(CFakeOs& os, const Scenario& scenario) {
    SetWindowsVersion(os, scenario.version);
    AddPackage(os, "C:\\Disk\\", "[PCI]\r\nICH4=DEV_24C2\r\n");
    for (const char* branch : {kNtPciBranch, k9xPciBranch}) {
        os.AddKey(std::string(branch) + "\\VEN_1002&DEV_4C59\\0");
        os.AddKey(std::string(branch) + "\\" + kDevice + "\\3&61AAA01&0&E8");
    }
    for (const char* folder : {"\\Options\\install", "\\inf", "\\system\\IoSubsys"})
        os.AddFolder(std::string("C:\\WINDOWS") + folder);
    os.onWinExec = [](CFakeOs& fake, const std::string&) {
        fake.windows.push_back({"C:\\Disk\\Install.exe", fake.nowMs, fake.nowMs + 5000});
    };
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

// One line telling what the run did, as a person would check it.
std::string Outcome(const CFakeOs& os, const LauncherRun& run) {
    std::ostringstream line;
    for (const FakeMessageBox& box : os.boxes)
        line << "box [" << box.caption << "] \"" << Escaped(box.text) << "\" type 0x" << std::hex
             << box.type << std::dec << "; ";
    if (!os.commandLines.empty())
        line << "WinExec called, waited " << os.nowMs << " ms; ";
    if (!os.keysDeleted.empty())
        line << "deleted " << os.keysDeleted[0] << "; ";
    if (!os.copiesAttempted.empty() || !os.keysDeleted.empty()) {
        const auto copies = ExpectedCopies(run.osType == OS_WINME ? "me" : "98se");
        int placed = 0;
        for (const auto& copy : copies)
            placed += os.FileExists("C:\\WINDOWS" + copy.second) ? 1 : 0;
        line << "placed " << placed << " of " << copies.size() << " files; ";
    }
    line << "exit " << run.exitStatus << (run.endedByExitCall ? " (ended)" : " (returned)");
    if (os.OpenKeyCount() != 0 || os.OpenFileCount() != 0)
        line << "; LEFT OPEN";
    return line.str();
}

std::string SweepTable() {
    std::ostringstream table;
    table << "# The launcher's outcome with each operating-system call of a normal run failing in\n"
             "# turn, the way the real call fails: call number, operation, what the user sees.\n";
    for (const Scenario& scenario : kScenarios) {
        CFakeOs normal;
        Arrange(normal, scenario);
        const std::string normalOutcome = Outcome(normal, RunLauncher(normal));
        table << "== " << scenario.name << ": " << normal.calls.size() << " calls\n";
        table << "normal run                 -> " << normalOutcome << "\n";
        for (std::size_t n = 1; n <= normal.calls.size(); ++n) {
            CFakeOs os;
            Arrange(os, scenario);
            os.FailCallNumber(static_cast<int>(n));
            const std::string outcome = Outcome(os, RunLauncher(os));
            char label[64];
            std::snprintf(label, sizeof label, "#%02zu %-22s -> ", n,
                          FakeOpName(normal.calls[n - 1]));
            table << label << (outcome == normalOutcome ? "as normal" : outcome) << "\n";
        }
    }
    return table.str();
}

void PrintTo(const Scenario& row, std::ostream* out) {
    *out << row.name;
}

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
    if (std::getenv("UPDATE_FAULT_SWEEP") != nullptr) {
        std::ofstream(path) << actual;
        GTEST_SKIP() << "rewrote " << path;
    }
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
