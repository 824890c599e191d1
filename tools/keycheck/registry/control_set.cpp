// The current control set of a SYSTEM hive exported as it is stored, without CurrentControlSet.
#include "tools/keycheck/registry/control_set.h"

#include <cstdint>
#include <cstdlib>

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

struct Candidate {
    const RegKey* parent;  // HKEY_LOCAL_MACHINE itself, or the key the hive was loaded under
    const RegKey* set;
    std::string path;
};

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}
}  // namespace

bool IsControlSetName(const std::string& name) {
    static const char kPrefix[] = "controlset";
    if (name.size() != sizeof kPrefix - 1 + 3)
        return false;
    for (std::size_t i = 0; i + 1 < sizeof kPrefix; ++i) {
        const char c = name[i];
        if ((c >= 'A' && c <= 'Z' ? char(c + 32) : c) != kPrefix[i])
            return false;
    }
    for (std::size_t i = sizeof kPrefix - 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return true;
}

bool NamesControlSet(const std::string& requested, const std::string& name) {
    if (!IsControlSetName(name) || requested.empty())
        return false;
    const long number = std::atol(name.c_str() + name.size() - 3);
    if (requested.find_first_not_of("0123456789") == std::string::npos)
        return requested.size() <= 3 && std::atol(requested.c_str()) == number;
    return IsControlSetName(requested) && std::atol(requested.c_str() + 10) == number;
}

bool MapCurrentControlSet(RegKeyTree& tree, const std::string& requested, ControlSetChoice& choice,
                          std::string& error) {
    choice = ControlSetChoice();
    if (tree.Find({"SYSTEM", "CurrentControlSet"}) != nullptr)
        return true;
    std::vector<Candidate> candidates;
    const auto collect = [&](const RegKey& parent, const std::string& prefix) {
        for (const auto& child : parent.subkeys) {
            if (IsControlSetName(child->name) && child->Subkey("Enum") != nullptr)
                candidates.push_back(Candidate{&parent, child.get(), prefix + child->name});
        }
    };
    collect(tree.Root(), "");
    for (const auto& hive : tree.Root().subkeys)
        collect(*hive, hive->name + "\\");
    for (const Candidate& candidate : candidates)
        choice.found.push_back(candidate.path);
    const Candidate* chosen = nullptr;
    if (!requested.empty()) {
        for (const Candidate& candidate : candidates) {
            if (chosen == nullptr && NamesControlSet(requested, candidate.set->name))
                chosen = &candidate;
        }
        if (chosen == nullptr) {
            error = "--control-set " + requested + " names no control set the export holds" +
                    (candidates.empty() ? std::string() : " (" + Joined(choice.found) + ")");
            return false;
        }
        choice.how = "--control-set";
    }
    for (const Candidate& candidate : candidates) {
        if (chosen != nullptr)
            break;
        const RegKey* select = candidate.parent->Subkey("Select");
        const long current = select == nullptr ? -1 : CurrentSet(*select);
        if (current >= 0 && NamesControlSet(std::to_string(current), candidate.set->name)) {
            chosen = &candidate;
            choice.how = "Select\\Current";
        }
    }
    if (chosen == nullptr && candidates.size() == 1) {
        chosen = &candidates.front();
        choice.how = "the only control set";
    }
    if (chosen == nullptr && candidates.size() > 1) {
        error = "control sets " + Joined(choice.found) +
                " and no Select to say which is current: choose one with --control-set";
        return false;
    }
    if (chosen == nullptr)
        return true;
    choice.read = chosen->path;
    Path to{"SYSTEM", "CurrentControlSet", "Enum"};
    CopyBelow(*chosen->set->Subkey("Enum"), to, tree);
    return true;
}
