// libFuzzer target: key.ini bytes through the launcher's loader, checked against a plain reading.
#include "app/driver_setup_app.h"
#include "device/device_id_table.h"
#include "fuzz/key_text_reference.h"
#include "sim/fake_os.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "key-file fuzzing: %s\n", what);
        std::abort();
    }
}
}  // namespace

// The first byte picks the ANSI code page; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    CFakeOs os;
    const FakeOsInstalled installed(os);
    os.SetCodePage(FuzzCodePage(data[0]));
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    os.AddFile("C:\\Disk\\key.ini", file);

    CDriverSetupApp app;
    app.m_strAppDir = "C:\\Disk\\";
    app.LoadKeyFile();

    Require(g_deviceIdTable.count >= 0 && g_deviceIdTable.count <= kMaxDeviceIds,
            "entry count outside the table");
    std::vector<std::string> entries;
    for (int i = 0; i < g_deviceIdTable.count; ++i) {
        const char* slot = g_deviceIdTable.ids[i];
        Require(std::memchr(slot, '\0', kDeviceIdSize) != nullptr, "slot without its NUL");
        entries.push_back(slot);
    }
    Require(entries == ReferenceKeyEntries(file, os), "entries differ from the plain reading");
    Require(os.OpenFileCount() == 0, "key file left open");
    return 0;
}
