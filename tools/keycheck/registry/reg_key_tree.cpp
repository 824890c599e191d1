// RegKeyTree: the keys of a registry export with their values, in the order the file names them.
#include "tools/keycheck/registry/reg_key_tree.h"

#include "sim/ansi_names.h"

#include <algorithm>

namespace {
template <typename Values> auto FindValue(Values& values, const std::string& name, int codePage) {
    return std::find_if(values.begin(), values.end(), [&](const RegValue& value) {
        return SameAnsiName(value.name, name, codePage);
    });
}
}  // namespace

const RegKey* RegKey::Subkey(const std::string& subkeyName) const {
    const auto found = subkeyIndex.find(FoldAnsiName(subkeyName, codePage));
    return found == subkeyIndex.end() ? nullptr : found->second;
}

const RegValue* RegKey::Value(const std::string& valueName) const {
    const auto it = FindValue(values, valueName, codePage);
    return it == values.end() ? nullptr : &*it;
}

void SetRegValue(RegKey& key, RegValue value) {
    const auto it = FindValue(key.values, value.name, key.codePage);
    if (it == key.values.end()) {
        key.values.push_back(std::move(value));
        return;
    }
    // The registry keeps the name as first written.
    it->type = value.type;
    it->data = std::move(value.data);
}

void RemoveRegValue(RegKey& key, const std::string& name) {
    const auto it = FindValue(key.values, name, key.codePage);
    if (it != key.values.end())
        key.values.erase(it);
}

RegKey& RegKeyTree::Add(const std::vector<std::string>& path) {
    RegKey* key = &m_root;
    for (const std::string& name : path) {
        RegKey* child = const_cast<RegKey*>(key->Subkey(name));
        if (child == nullptr) {
            key->subkeys.push_back(std::make_unique<RegKey>());
            child = key->subkeys.back().get();
            child->name = name;
            child->codePage = m_root.codePage;
            key->subkeyIndex.emplace(FoldAnsiName(name, m_root.codePage), child);
        }
        key = child;
    }
    return *key;
}

void RegKeyTree::Remove(const std::vector<std::string>& path) {
    RegKey* parent = &m_root;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        parent = const_cast<RegKey*>(parent->Subkey(path[i]));
        if (parent == nullptr)
            return;
    }
    const RegKey* target = path.empty() ? nullptr : parent->Subkey(path.back());
    if (target == nullptr)
        return;
    parent->subkeyIndex.erase(FoldAnsiName(target->name, m_root.codePage));
    parent->subkeys.erase(std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                                       [&](const auto& child) { return child.get() == target; }));
}

const RegKey* RegKeyTree::Find(const std::vector<std::string>& path) const {
    const RegKey* key = &m_root;
    for (const std::string& name : path) {
        key = key->Subkey(name);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

int RegKeyTree::Count() const {
    return CountBelow(m_root);
}

int RegKeyTree::CountBelow(const RegKey& key) {
    int count = 0;
    for (const auto& child : key.subkeys)
        count += 1 + CountBelow(*child);
    return count;
}
