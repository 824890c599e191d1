// RegKeyTree: the keys of a registry export, in the order the file first names them.
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
}  // namespace

void RegKeyTree::Add(const std::vector<std::string>& path) {
    Node* node = &m_root;
    for (const std::string& name : path) {
        auto it = FindSubkey(node->subkeys, name);
        if (it == node->subkeys.end()) {
            node->subkeys.push_back(std::make_unique<Node>());
            node->subkeys.back()->name = name;
            node = node->subkeys.back().get();
        } else {
            node = it->get();
        }
    }
}

void RegKeyTree::Remove(const std::vector<std::string>& path) {
    Node* parent = &m_root;
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

int RegKeyTree::Count() const {
    return CountBelow(m_root);
}

int RegKeyTree::CountBelow(const Node& node) {
    int count = 0;
    for (const auto& child : node.subkeys)
        count += 1 + CountBelow(*child);
    return count;
}

void RegKeyTree::AddTo(CFakeOs& machine) const {
    AddBelow(m_root, std::string(), machine);
}

void RegKeyTree::AddBelow(const Node& node, const std::string& path, CFakeOs& machine) {
    for (const auto& child : node.subkeys) {
        const std::string childPath = path.empty() ? child->name : path + "\\" + child->name;
        machine.AddKey(childPath);
        AddBelow(*child, childPath, machine);
    }
}
