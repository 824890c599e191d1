// key.ini as the launcher's own loader reads it, and the launcher's own match of its entries.
#include "tools/keycheck/launcher/key_file.h"

#include "app/driver_setup_app.h"
#include "device/listed_id_match.h"
#include "sim/fake_os.h"

namespace {
// The program folder the loader is given; any folder would do, since only key.ini is there.
const char* const kProgramFolder = "D:\\";
}  // namespace

KeyFile LoadKeyFile(bool present, const std::string& name, const std::string& bytes, int codePage) {
    CFakeOs machine;
    machine.SetCodePage(codePage);
    if (present)
        machine.AddFile(kProgramFolder + name, bytes);
    const FakeOsInstalled installed(machine);
    KeyFile keyFile;
    keyFile.name = name;
    CDriverSetupApp app;
    app.m_strAppDir = kProgramFolder;
    try {
        app.LoadKeyFile();
        keyFile.found = true;
    } catch (const FakeProcessExit&) {
        // The launcher's refusal: it shows its box and ends.
    }
    // The text lives in the machine's memory, which goes with it, as a process's does.
    g_pszKeyText = nullptr;
    if (!keyFile.found)
        return keyFile;
    keyFile.listed = g_deviceIdTable;
    keyFile.bytes = bytes;
    keyFile.text = bytes.c_str();
    keyFile.entries = FindKeyEntries(bytes.c_str());
    for (int i = 0; i < keyFile.listed.count; ++i)
        keyFile.table.push_back(keyFile.listed.ids[i]);
    return keyFile;
}

std::vector<int> ListedEntriesIn(const DeviceIdTable& listed, const std::vector<std::string>& names,
                                 int codePage) {
    CFakeOs machine;
    machine.SetCodePage(codePage);
    const FakeOsInstalled installed(machine);
    std::vector<int> entries;
    for (const std::string& name : names)
        entries.push_back(FirstListedIdIn(listed, name.c_str()));
    return entries;
}
