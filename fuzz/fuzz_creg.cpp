// libFuzzer target: bytes as a Windows 98/Me registry file, through keycheck's check of its key
// navigation record and libcreg's reading of Enum\PCI and the version key.
//
// Checks beyond "no crash": no endless walk (libFuzzer's timeout); a file the check refuses is
// never handed to libcreg, so it is refused with the check's own reason; the same bytes read
// twice give the same tree or the same error; every key read lies below Enum\PCI or is the
// version key.
#include "fuzz/reg_tree_dump.h"
#include "tools/keycheck/creg/creg_file.h"

#include <cstdint>
#include <string>

namespace {
std::string Read(const std::string& bytes) {
    RegKeyTree tree;
    std::string error;
    if (!ReadCregBytes(bytes, tree, error))
        return "error " + error;
    for (const auto& top : tree.Root().subkeys)
        FuzzRequire(top->name == "Enum" || top->name == "Software", "creg",
                    "a key read outside Enum\\PCI and the version key");
    std::string dump;
    DumpRegTree(tree.Root(), "", dump);
    return dump;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Most inputs are given the signature and the record's, so that they reach libcreg.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1) != 0 && bytes.size() >= 0x28) {
        bytes.replace(0, 4, "CREG");
        bytes.replace(0x20, 4, "RGKN");
    }
    const std::string first = Read(bytes);
    std::string why;
    if (!CregNavigationIsSound(bytes, bytes.size(), why))
        FuzzRequire(first == "error " + why, "creg", "an unsound file reached libcreg");
    FuzzRequire(first == Read(bytes), "creg", "the same bytes read as another tree");
    return 0;
}
