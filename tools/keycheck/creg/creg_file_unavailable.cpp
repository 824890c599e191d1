// Windows 98/Me registry files in a build without libcreg (keycheck.exe).
#include "tools/keycheck/creg/creg_file.h"

namespace {
const char* const kNone = "a 98/Me registry file: this keycheck reads none (the Debian build does, "
                          "through libcreg); export HKEY_LOCAL_MACHINE\\Enum\\PCI on the machine "
                          "with regedit /e";
}  // namespace

bool ReadCregFile(const std::string& path, RegKeyTree& tree, std::string& error) {
    (void)path;
    (void)tree;
    error = kNone;
    return false;
}

bool ReadCregBytes(const std::string& bytes, RegKeyTree& tree, std::string& error) {
    (void)bytes;
    (void)tree;
    error = kNone;
    return false;
}
