// Host benchmarks of the device-key search, beside the same seam calls with nothing between.
#include "app/driver_setup_app.h"
#include "bench/launcher_bench.h"
#include "device/device_id_table.h"
#include "platform/win32_values.h"
#include "sim/app_runner.h"
#include "sim/fake_os.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
const int kSubKeys = 10000;

// The PCI device-key names of the search benchmarks, and the key.ini IDs that miss them all.
std::string SubKeyName(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "VEN_%04X&DEV_%04X&SUBSYS_%04X%04X&REV_%02X", 0x1000 + n % 97,
                  n, n % 251, 0x1000 + n % 97, n % 7);
    return name;
}

std::string MissingId(int i) {
    char id[32];
    std::snprintf(id, sizeof id, "VEN_%04X&DEV_%04X", 0x1000 + i, 0xE000 + i);
    return id;
}

std::vector<std::string> SubKeyNames() {
    std::vector<std::string> names;
    for (int n = 0; n < kSubKeys; ++n)
        names.push_back(SubKeyName(n));
    return names;
}

// Best case: the first ID names the first subkey. Worst case: no ID names any subkey.
std::vector<std::string> SearchIds(bool best) {
    std::vector<std::string> ids;
    for (int i = 0; i < kMaxDeviceIds; ++i)
        ids.push_back(MissingId(i));
    if (best)
        ids[0] = SubKeyName(0).substr(0, 17);  // VEN_xxxx&DEV_xxxx
    return ids;
}

std::string KeyIniOf(const std::vector<std::string>& ids) {
    std::string text = "[PCI]\r\n";
    for (std::size_t i = 0; i < ids.size(); ++i)
        text += "ID" + std::to_string(i) + "=" + ids[i] + "\r\n";
    return text;
}

// --- Device-key search ------------------------------------------------------------------

// The registry fake of the search benchmarks is costly to build, so it is built once and kept;
// each benchmark installs it for its own run.
std::unique_ptr<CFakeOs> g_registryFake;

CFakeOs& RegistryFake() {
    if (!g_registryFake) {
        g_registryFake = std::make_unique<CFakeOs>();
        SetWindowsVersion(*g_registryFake, "winxp");
        for (const std::string& name : SubKeyNames())
            g_registryFake->AddKey(std::string(kNtPciBranch) + "\\" + name);
        g_registryFake->AddFile("C:\\Best\\key.ini", KeyIniOf(SearchIds(true)));
        g_registryFake->AddFile("C:\\Worst\\key.ini", KeyIniOf(SearchIds(false)));
    }
    return *g_registryFake;
}

// FindDeviceKey over 10,000 subkeys with 40 IDs: it reads key.ini, opens the branch and walks
// the subkeys until one names a listed ID.
void BM_FindDeviceKey(benchmark::State& state, bool best) {
    CFakeOs& os = RegistryFake();
    const FakeOsInstalled installed(os);
    CDriverSetupApp app;
    app.m_strAppDir = best ? "C:\\Best\\" : "C:\\Worst\\";
    bool found = false;
    for (auto _ : state) {
        found = app.FindDeviceKey();
        benchmark::DoNotOptimize(found);
        os.calls.clear();  // keeps the fake's call log from growing without end; O(1)
    }
    if (found != best)
        state.SkipWithError("the search answered wrongly");
    else if (best && std::string(app.m_strDeviceId) != SubKeyName(0) + "\"")
        state.SkipWithError("the search found the wrong device");
    state.counters["subkeys"] = kSubKeys;
}

// Baseline: the same seam calls on the same simulated machine with nothing done between
// them: read key.ini as the loader does, open the branch, query it, enumerate the subkeys
// the search enumerates (only the first in the best case, all in the worst), close it.
void BM_SearchSeamCallsOnly(benchmark::State& state, bool best) {
    CFakeOs& os = RegistryFake();
    const FakeOsInstalled installed(os);
    const char* keyIni = best ? "C:\\Best\\key.ini" : "C:\\Worst\\key.ini";
    std::uint32_t enumerated = 0;
    for (auto _ : state) {
        OsFile file = Os().FileOpen(keyIni, "rb");
        const std::int64_t position = Os().FileTell(file);
        Os().FileSeek(file, 0, SEEK_END);
        const std::int64_t length = Os().FileTell(file);
        Os().FileSeek(file, position, SEEK_SET);
        char* text = static_cast<char*>(Os().MemAlloc(static_cast<std::uint32_t>(length + 1)));
        Os().FileRead(text, static_cast<std::uint32_t>(length + 1), file);
        Os().FileClose(file);
        benchmark::DoNotOptimize(text);

        OsKey pci = 0;
        Os().RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNtPciBranch, 0, KEY_READ, &pci);
        std::uint32_t subKeys = 0;
        Os().RegQueryInfoKeyA(pci, &subKeys);
        char name[256];
        enumerated = 0;
        for (std::uint32_t i = 0; i < (best ? 1 : subKeys); ++i) {
            if (Os().RegEnumKeyA(pci, i, name, 255) != 0)
                break;
            benchmark::DoNotOptimize(name);
            ++enumerated;
        }
        Os().RegCloseKey(pci);
        os.calls.clear();
    }
    if (enumerated != (best ? 1u : static_cast<std::uint32_t>(kSubKeys)))
        state.SkipWithError("the bare loop enumerated the wrong number of subkeys");
}
}  // namespace

void RegisterDeviceSearchBenchmarks() {
    for (const bool best : {true, false}) {
        const std::string which = best ? "10000_subkeys_40_ids_best_first_subkey_matches"
                                       : "10000_subkeys_40_ids_worst_none_matches";
        const std::string baseline = BenchName("SearchSeamCallsOnly", which);
        benchmark::RegisterBenchmark(baseline.c_str(), BM_SearchSeamCallsOnly, best)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(BenchName("FindDeviceKey", which).c_str(),
                                     [baseline, best](benchmark::State& state) {
                                         state.SetLabel(BenchLabel(baseline, "1.1"));
                                         BM_FindDeviceKey(state, best);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
}
