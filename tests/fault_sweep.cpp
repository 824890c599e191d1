// The fault sweep: each operating-system call of a normal run made to fail in turn, and what
// the user sees each time.
#include "tests/fault_sweep.h"

#include "sim/app_runner.h"
#include "tests/expected_outcomes.h"

#include <cstdio>
#include <sstream>

namespace {
const char* const kDevice = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01";
}  // namespace

const Scenario kScenarios[4] = {
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

namespace {
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

}  // namespace

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
