// libFuzzer target: the whole launcher against the fake, on a machine the fuzzer makes up.
//
// The fuzzer chooses the code page, the version record, the program's path, key.ini, the PCI
// device keys (names of any length and bytes), the installer's window, and one failing
// operating-system call. Whatever it chooses, the launcher must end with status 0, never
// delete more than one key, and only delete or install for a key naming a listed ID.
#include "fuzz/key_text_reference.h"
#include "sim/app_runner.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "launcher fuzzing: %s\n", what);
        std::abort();
    }
}

// A registry key name: no NUL and no backslash, which would name a path instead.
std::string KeyName(FuzzedDataProvider& in) {
    std::string name = in.ConsumeRandomLengthString(300);
    std::string clean;
    for (char c : name) {
        if (c != '\0' && c != '\\')
            clean += c;
    }
    return clean.empty() ? std::string("VEN_0000") : clean;
}

bool NamesNonEmptyId(const std::string& name, const std::vector<std::string>& ids) {
    for (const std::string& id : ids) {
        if (!id.empty() && name.find(id) != std::string::npos)
            return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    CFakeOs os;
    os.SetCodePage(FuzzCodePage(in.ConsumeIntegral<std::uint8_t>()));
    os.SetVersion(in.ConsumeIntegralInRange<std::uint32_t>(0, 3),
                  in.ConsumeIntegralInRange<std::uint32_t>(3, 7),
                  in.ConsumeIntegralInRange<std::uint32_t>(0, 90),
                  in.ConsumeIntegral<std::uint32_t>());
    os.deleteKeyTrees = in.ConsumeBool();
    if (in.ConsumeBool())
        os.acceptedVersionSizes = {148};

    const std::string dir = "C:\\" + in.ConsumeRandomLengthString(40) + "\\";
    os.modulePath = dir + "setup.exe";
    const std::string keyIni = in.ConsumeRandomLengthString(2000);
    AddPackage(os, dir, keyIni);
    os.windowsDir = in.ConsumeBool() ? "C:\\" : "C:\\WINDOWS";
    os.AddFolder("C:\\WINDOWS\\system");

    const int keyCount = in.ConsumeIntegralInRange(0, 12);
    std::vector<std::string> names;
    for (int i = 0; i < keyCount; ++i) {
        names.push_back(KeyName(in));
        os.AddKey(std::string(kNtPciBranch) + "\\" + names.back() + "\\0");
        os.AddKey(std::string(k9xPciBranch) + "\\" + names.back() + "\\0");
    }
    const std::uint64_t windowLifetime = in.ConsumeIntegralInRange<std::uint64_t>(0, 20000);
    os.onWinExec = [&](CFakeOs& fake, const std::string&) {
        fake.windows.push_back({dir + "install.exe", fake.nowMs, fake.nowMs + windowLifetime});
    };
    if (in.ConsumeBool())
        os.FailCallNumber(in.ConsumeIntegralInRange(1, 80));

    const LauncherRun run = RunLauncher(os);

    Require(run.exitStatus == 0, "exit status other than 0");
    Require(os.keysDeleted.size() <= 1, "more than one key deleted");
    Require(os.commandLines.size() <= 1, "installer started more than once");
    Require(os.OpenKeyCount() == 0, "registry key left open");
    Require(os.OpenFileCount() == 0, "file left open");
    const std::vector<std::string> ids = ReferenceKeyEntries(keyIni, os);
    for (const std::string& deleted : os.keysDeleted)
        Require(NamesNonEmptyId(deleted, ids), "deleted a key naming no listed ID");
    if (!os.commandLines.empty()) {
        Require(run.deviceId.size() > 1 && run.deviceId.back() == '"', "device ID not closed");
        Require(NamesNonEmptyId(run.deviceId.substr(0, run.deviceId.size() - 1), ids),
                "installer started for a key naming no listed ID");
    }
    return 0;
}
