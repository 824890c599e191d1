// Host benchmarks of key.ini parsing and loading, each beside a bare yardstick.
#include "app/driver_setup_app.h"
#include "bench/launcher_bench.h"
#include "device/device_id_table.h"
#include "sim/fake_os.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
// A machine of its own for each run, installed while it lives: the fake keeps every block the
// loader allocates.
struct FreshMachine {
    CFakeOs machine;
    FakeOsInstalled installed{machine};
};
const std::size_t kTextSize = 1024 * 1024;

// --- Texts ------------------------------------------------------------------------------

std::string IdValue(int n) {
    char value[32];
    std::snprintf(value, sizeof value, "VEN_%04X&DEV_%04X", 0x1000 + n % 64, n & 0xFFFF);
    return value;
}

// head, then line(0), line(1), ... until the text holds 1 MiB, cut there.
template <typename Line> std::string MebibyteText(std::string head, Line line) {
    for (int n = 0; head.size() < kTextSize; ++n)
        head += line(n);
    head.resize(kTextSize);
    return head;
}

// A key file with entry lines ending in CR LF; the parser stops after 40.
std::string CrlfKeyFile() {
    return MebibyteText("[PCI]\r\n",
                        [](int n) { return "ID" + std::to_string(n) + "=" + IdValue(n) + "\r\n"; });
}

// The same entries with LF-only line ends: the first value runs to the end of the text.
std::string LfOnlyKeyFile() {
    return MebibyteText("[PCI]\n",
                        [](int n) { return "ID" + std::to_string(n) + "=" + IdValue(n) + "\n"; });
}

// Comment lines and no "=" at all: the search for the first entry walks the whole text.
std::string NoEqualsText() {
    return MebibyteText("", [](int n) {
        return "; " + IdValue(n) + " line " + std::to_string(n) + " of a text with no entries\r\n";
    });
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

// --- Key-file parsing -------------------------------------------------------------------

void BM_ParseKeyText(benchmark::State& state, const KeyText* key) {
    CFakeOs os;  // answers the parser's lead-byte questions
    const FakeOsInstalled installed(os);
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
    std::unique_ptr<FreshMachine> os;
    std::unique_ptr<CDriverSetupApp> app;
    const auto prepare = [&] {
        app.reset();
        os.reset();
        os = std::make_unique<FreshMachine>();
        os->machine.AddFile("C:\\Disk\\key.ini", key->text);
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
    std::unique_ptr<FreshMachine> os;
    const auto prepare = [&] {
        os.reset();
        os = std::make_unique<FreshMachine>();
        os->machine.AddFile("C:\\Disk\\key.ini", key->text);
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
}  // namespace

void RegisterKeyFileBenchmarks() {
    for (const KeyText& key : KeyTexts()) {
        const std::string baseline = BenchName("MemchrScan", key.label);
        benchmark::RegisterBenchmark(baseline.c_str(), BM_MemchrScan, &key)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(BenchName("ParseKeyText", key.label).c_str(),
                                     [baseline, &key](benchmark::State& state) {
                                         state.SetLabel(BenchLabel(baseline, "2"));
                                         BM_ParseKeyText(state, &key);
                                     })
            ->Unit(benchmark::kMicrosecond);
        if (key.entries == 1)  // the LF-only text loads like the CR LF one
            continue;
        const std::string seamOnly = BenchName("KeyFileSeamCallsOnly", key.label);
        benchmark::RegisterBenchmark(seamOnly.c_str(), BM_KeyFileSeamCallsOnly, &key)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(BenchName("LoadKeyFile", key.label).c_str(),
                                     [seamOnly, &key](benchmark::State& state) {
                                         state.SetLabel(BenchLabel(seamOnly, nullptr));
                                         BM_LoadKeyFile(state, &key);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
}
