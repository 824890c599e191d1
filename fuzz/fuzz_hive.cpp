// libFuzzer target: the keys and values a hive library answers with, turned into keycheck's
// key tree by the SYSTEM hive reader, in any code page.
//
// The bytes build a hive in memory: a stream of steps, each adding a key below one made before
// (or the root) or setting a value on one, with names and data of any bytes, so that UTF-8
// that is not well formed, names a code page lacks, huge and empty values, deep and wide trees
// and a Select with any Current all come. Checks beyond "no crash": reading twice gives the same
// tree or the same error; a tree read holds only SYSTEM\CurrentControlSet\Enum\PCI and below; it
// names the control set it read; its key count is its tree's.
#include "fuzz/key_text_reference.h"
#include "fuzz/reg_tree_dump.h"
#include "tools/keycheck/registry/memory_hive.h"
#include "tools/keycheck/registry/system_hive.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

namespace {
void Require(bool condition, const char* what) {
    FuzzRequire(condition, "hive", what);
}

// Names the reader looks for, so that the fuzzer reaches past Select and the control set.
const char* const kNames[] = {"Select", "Current",       "ControlSet001", "ControlSet002", "Enum",
                              "PCI",    "controlset001", "HardwareID",    "DeviceDesc"};

std::string Name(FuzzedDataProvider& in) {
    if (in.ConsumeBool())
        return kNames[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
    return in.ConsumeRandomLengthString(40);
}

// What the hive reads as: the error, or the control set and the tree's dump.
struct HiveRead {
    RegKeyTree tree;
    std::string controlSet;
};

std::string Read(const MemoryHive& hive, int codePage, HiveRead& read) {
    std::string error;
    if (!ReadSystemHive(hive, codePage, "", read.tree, read.controlSet, error))
        return "error " + error;
    std::string dump = read.controlSet + "\n";
    DumpRegTree(read.tree.Root(), "", dump);
    return dump;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int codePage = FuzzCodePage(in.ConsumeIntegral<std::uint8_t>());
    MemoryHive hive;
    std::size_t keys = 1;
    while (in.remaining_bytes() > 0 && keys < 2000) {
        const HiveSource::Node node = in.ConsumeIntegralInRange<std::size_t>(1, keys);
        if (in.ConsumeBool()) {
            hive.Add(node, Name(in));
            ++keys;
        } else {
            const int type = in.ConsumeIntegralInRange<int>(0, 11);
            const std::string name = Name(in);
            hive.SetValue(
                node,
                {name, type,
                 type == 4 && in.ConsumeBool()
                     ? std::string(1, static_cast<char>(in.ConsumeIntegralInRange<int>(0, 3))) +
                           std::string(3, '\0')
                     : in.ConsumeRandomLengthString(200)});
        }
    }
    HiveRead first, second;
    const std::string reading = Read(hive, codePage, first);
    Require(reading == Read(hive, codePage, second), "the same hive read twice differs");
    if (reading.compare(0, 6, "error ") == 0)
        return 0;
    Require(first.controlSet.compare(0, 10, "ControlSet") == 0 && first.controlSet.size() == 13,
            "the control set read is not named ControlSetNNN");
    const RegKey& root = first.tree.Root();
    Require(root.subkeys.size() <= 1, "keys beside SYSTEM");
    if (!root.subkeys.empty()) {
        const RegKey* pci = first.tree.Find({"SYSTEM", "CurrentControlSet", "Enum", "PCI"});
        Require(pci != nullptr && first.tree.Count() >= 4, "keys outside Enum\\PCI");
        Require(root.subkeys[0]->subkeys.size() == 1 &&
                    root.subkeys[0]->subkeys[0]->subkeys.size() == 1 &&
                    root.subkeys[0]->subkeys[0]->subkeys[0]->subkeys.size() == 1,
                "keys outside Enum\\PCI");
    }
    return 0;
}
