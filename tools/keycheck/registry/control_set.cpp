// The current control set of a SYSTEM hive exported as it is stored, without CurrentControlSet.
#include "tools/keycheck/registry/control_set.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
using Path = std::vector<std::string>;

// key's value Current as a REG_DWORD (four bytes, least significant first), or -1.
long CurrentSet(const RegKey& select) {
    const RegValue* current = select.Value("Current");
    if (current == nullptr || current->type != kRegDword || current->data.size() != 4)
        return -1;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number =
            (number << 8) | static_cast<unsigned char>(current->data[static_cast<std::size_t>(i)]);
    return number >= 1 && number <= 999 ? static_cast<long>(number) : -1;
}

void CopyBelow(const RegKey& from, Path& to, RegKeyTree& tree) {
    RegKey& copy = tree.Add(to);
    for (const RegValue& value : from.values)
        SetRegValue(copy, value);
    for (const auto& child : from.subkeys) {
        to.push_back(child->name);
        CopyBelow(*child, to, tree);
        to.pop_back();
    }
}
}  // namespace

std::string MapCurrentControlSet(RegKeyTree& tree) {
    if (tree.Find({"SYSTEM", "CurrentControlSet"}) != nullptr)
        return "";
    for (const auto& hive : tree.Root().subkeys) {
        const RegKey* select = hive->Subkey("Select");
        const long number = select == nullptr ? -1 : CurrentSet(*select);
        if (number < 0)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "ControlSet%03ld", number);
        const RegKey* set = hive->Subkey(name);
        const RegKey* enumKey = set == nullptr ? nullptr : set->Subkey("Enum");
        if (enumKey == nullptr)
            continue;
        const std::string found = hive->name + "\\" + set->name;
        Path to{"SYSTEM", "CurrentControlSet", "Enum"};
        CopyBelow(*enumKey, to, tree);
        return found;
    }
    return "";
}
