// Host benchmarks of key.ini parsing and the device-key search, each beside a bare yardstick.
//
// Every measured benchmark carries the label "baseline: NAME" naming the yardstick it is to be
// compared with, and "; goal: RATIO" where the ratio has a goal; bench/bench_table.py pairs
// them up. Each one checks what the code under
// measure produced and reports an error instead of a time when it is wrong.
#include "app/driver_setup_app.h"
#include "device/device_id_table.h"
#include "platform/win32_values.h"
#include "sim/app_runner.h"
#include "sim/fake_os.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::size_t kTextSize = 1024 * 1024;
const int kSubKeys = 10000;

// --- Texts ------------------------------------------------------------------------------

std::string IdValue(int n) {
    char value[32];
    std::snprintf(value, sizeof value, "VEN_%04X&DEV_%04X", 0x1000 + n % 64, n & 0xFFFF);
    return value;
}

// A key file with entry lines ending in CR LF, cut at 1 MiB; the parser stops after 40.
std::string CrlfKeyFile() {
    std::string text = "[PCI]\r\n";
    for (int n = 0; text.size() < kTextSize; ++n)
        text += "ID" + std::to_string(n) + "=" + IdValue(n) + "\r\n";
    text.resize(kTextSize);
    return text;
}

// The same entries with LF-only line ends: the first value runs to the end of the text.
std::string LfOnlyKeyFile() {
    std::string text = "[PCI]\n";
    for (int n = 0; text.size() < kTextSize; ++n)
        text += "ID" + std::to_string(n) + "=" + IdValue(n) + "\n";
    text.resize(kTextSize);
    return text;
}

// Comment lines and no "=" at all: the search for the first entry walks the whole text.
std::string NoEqualsText() {
    std::string text;
    for (int n = 0; text.size() < kTextSize; ++n)
        text += "; " + IdValue(n) + " line " + std::to_string(n) + " of a text with no entries\r\n";
    text.resize(kTextSize);
    return text;
}

struct KeyText {
    const char* label;  // part of the benchmark names
    std::string text;
    int entries;  // what the parser must find
};

const std::vector<KeyText>& KeyTexts() {
    static const std::vector<KeyText> texts = {
        {"1MiB_crlf_key_file_stops_after_40_entries", CrlfKeyFile(), kMaxDeviceIds},
        {"1MiB_no_equals_whole_text_scanned", NoEqualsText(), 0},
        {"1MiB_lf_only_first_value_runs_to_end", LfOnlyKeyFile(), 1}};
    return texts;
}

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

// --- Key-file parsing -------------------------------------------------------------------

// The registry fake of the search benchmarks is costly to build, so it is built once and kept;
// only one fake can be Os() at a time, so the key-file benchmarks end it before making theirs.
std::unique_ptr<CFakeOs> g_registryFake;

void BM_ParseKeyText(benchmark::State& state, const KeyText* key) {
    g_registryFake.reset();
    CFakeOs os;  // Os() answers the parser's lead-byte questions
    DeviceIdTable table{};
    for (auto _ : state) {
        ParseKeyText(key->text.c_str(), table);
        benchmark::DoNotOptimize(table);
        benchmark::ClobberMemory();
    }
    if (table.count != key->entries)
        state.SkipWithError("the parser found the wrong number of entries");
    else if (key->entries == kMaxDeviceIds && IdValue(39) != table.ids[39])
        state.SkipWithError("the 40th entry is wrong");
    if (key->entries < kMaxDeviceIds)  // otherwise the parser reads only the first lines
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * key->text.size()));
}

// The whole LoadKeyFile: open, size, allocate, read and parse, through the fake. Each run
// gets a fresh fake, since the fake keeps every block the loader allocates.
void BM_LoadKeyFile(benchmark::State& state, const KeyText* key) {
    g_registryFake.reset();
    std::unique_ptr<CFakeOs> os;
    std::unique_ptr<CDriverSetupApp> app;
    const auto prepare = [&] {
        app.reset();
        os.reset();
        os = std::make_unique<CFakeOs>();
        os->AddFile("C:\\Disk\\key.ini", key->text);
        app = std::make_unique<CDriverSetupApp>();
        app->m_strAppDir = "C:\\Disk\\";
    };
    prepare();
    for (auto _ : state) {
        app->LoadKeyFile();
        state.PauseTiming();
        const bool right = g_deviceIdTable.count == key->entries;
        prepare();
        state.ResumeTiming();
        if (!right) {
            state.SkipWithError("the loader found the wrong number of entries");
            break;
        }
    }
    app.reset();
    os.reset();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * key->text.size()));
}

// Yardstick of LoadKeyFile: the same seam calls on the same kind of fake (open, tell, seek to
// the end and back, allocate, read, close) with no parsing.
void BM_KeyFileSeamCallsOnly(benchmark::State& state, const KeyText* key) {
    g_registryFake.reset();
    std::unique_ptr<CFakeOs> os;
    const auto prepare = [&] {
        os.reset();
        os = std::make_unique<CFakeOs>();
        os->AddFile("C:\\Disk\\key.ini", key->text);
    };
    prepare();
    std::uint32_t got = 0;
    for (auto _ : state) {
        OsFile file = Os().FileOpen("C:\\Disk\\key.ini", "rb");
        const std::int64_t position = Os().FileTell(file);
        Os().FileSeek(file, 0, SEEK_END);
        const std::int64_t length = Os().FileTell(file);
        Os().FileSeek(file, position, SEEK_SET);
        const auto size = static_cast<std::uint32_t>(length + 1);
        char* text = static_cast<char*>(Os().MemAlloc(size));
        got = Os().FileRead(text, size, file);
        Os().FileClose(file);
        text[got] = '\0';
        benchmark::DoNotOptimize(text);
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
    }
    os.reset();
    if (got != key->text.size())
        state.SkipWithError("the bare loop read the wrong number of bytes");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * key->text.size()));
}

// Baseline: count the "=" in the same bytes with memchr.
void BM_MemchrScan(benchmark::State& state, const KeyText* key) {
    const char* begin = key->text.data();
    const char* end = begin + key->text.size();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const char* p = begin;
             (p = static_cast<const char*>(std::memchr(p, '=', static_cast<std::size_t>(end - p))));
             ++p)
            ++found;
        benchmark::DoNotOptimize(found);
    }
    if (found != static_cast<std::size_t>(std::count(begin, end, '=')))
        state.SkipWithError("memchr found the wrong number of \"=\"");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * key->text.size()));
}

// --- Device-key search ------------------------------------------------------------------

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

std::string Name(const char* what, const std::string& which) {
    return std::string(what) + "/" + which;
}

// The label bench_table.py reads: the yardstick's name and, where there is one, the goal
// for the ratio to it.
std::string Label(const std::string& baseline, const char* goal) {
    return "baseline: " + baseline + (goal != nullptr ? std::string("; goal: ") + goal : "");
}

void Register() {
    for (const KeyText& key : KeyTexts()) {
        const std::string baseline = Name("MemchrScan", key.label);
        benchmark::RegisterBenchmark(baseline.c_str(), BM_MemchrScan, &key)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(Name("ParseKeyText", key.label).c_str(),
                                     [baseline, &key](benchmark::State& state) {
                                         state.SetLabel(Label(baseline, "2"));
                                         BM_ParseKeyText(state, &key);
                                     })
            ->Unit(benchmark::kMicrosecond);
        if (key.entries == 1)  // the LF-only text loads like the CR LF one
            continue;
        const std::string seamOnly = Name("KeyFileSeamCallsOnly", key.label);
        benchmark::RegisterBenchmark(seamOnly.c_str(), BM_KeyFileSeamCallsOnly, &key)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(Name("LoadKeyFile", key.label).c_str(),
                                     [seamOnly, &key](benchmark::State& state) {
                                         state.SetLabel(Label(seamOnly, nullptr));
                                         BM_LoadKeyFile(state, &key);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
    for (const bool best : {true, false}) {
        const std::string which = best ? "10000_subkeys_40_ids_best_first_subkey_matches"
                                       : "10000_subkeys_40_ids_worst_none_matches";
        const std::string baseline = Name("SearchSeamCallsOnly", which);
        benchmark::RegisterBenchmark(baseline.c_str(), BM_SearchSeamCallsOnly, best)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(Name("FindDeviceKey", which).c_str(),
                                     [baseline, best](benchmark::State& state) {
                                         state.SetLabel(Label(baseline, "1.1"));
                                         BM_FindDeviceKey(state, best);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_registryFake.reset();
    return 0;
}
