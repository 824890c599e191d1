// RegKeyTree: the keys of a registry export with their values, in the order the file names them.
#include "tools/keycheck/regexport/reg_key_tree.h"

#include "sim/fake_os.h"

#include <algorithm>
#include <cctype>

namespace {
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

template <typename Subkeys> auto FindSubkey(Subkeys& subkeys, const std::string& name) {
    return std::find_if(subkeys.begin(), subkeys.end(),
                        [&](const auto& child) { return SameName(child->name, name); });
}

template <typename Values> auto FindValue(Values& values, const std::string& name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const RegValue& value) { return SameName(value.name, name); });
}
}  // namespace

const RegKey* RegKey::Subkey(const std::string& subkeyName) const {
    const auto it = FindSubkey(subkeys, subkeyName);
    return it == subkeys.end() ? nullptr : it->get();
}

const RegValue* RegKey::Value(const std::string& valueName) const {
    const auto it = FindValue(values, valueName);
    return it == values.end() ? nullptr : &*it;
}

void SetRegValue(RegKey& key, RegValue value) {
    const auto it = FindValue(key.values, value.name);
    if (it == key.values.end()) {
        key.values.push_back(std::move(value));
        return;
    }
    // The registry keeps the name as first written.
    it->type = value.type;
    it->data = std::move(value.data);
}

void RemoveRegValue(RegKey& key, const std::string& name) {
    const auto it = FindValue(key.values, name);
    if (it != key.values.end())
        key.values.erase(it);
}

RegKey& RegKeyTree::Add(const std::vector<std::string>& path) {
    RegKey* key = &m_root;
    for (const std::string& name : path) {
        auto it = FindSubkey(key->subkeys, name);
        if (it == key->subkeys.end()) {
            key->subkeys.push_back(std::make_unique<RegKey>());
            key->subkeys.back()->name = name;
            key = key->subkeys.back().get();
        } else {
            key = it->get();
        }
    }
    return *key;
}

void RegKeyTree::Remove(const std::vector<std::string>& path) {
    RegKey* parent = &m_root;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto it = FindSubkey(parent->subkeys, path[i]);
        if (it == parent->subkeys.end())
            return;
        if (i + 1 == path.size()) {
            parent->subkeys.erase(it);
            return;
        }
        parent = it->get();
    }
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

void RegKeyTree::AddTo(CFakeOs& machine) const {
    AddBelow(m_root, std::string(), machine);
}

void RegKeyTree::AddBelow(const RegKey& key, const std::string& path, CFakeOs& machine) {
    for (const auto& child : key.subkeys) {
        const std::string childPath = path.empty() ? child->name : path + "\\" + child->name;
        machine.AddKey(childPath);
        AddBelow(*child, childPath, machine);
    }
}
