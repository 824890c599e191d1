// A registry hive held in memory, beside the hivex-backed one: the tests and the hive fuzzer
// give the SYSTEM hive reader keys and values of their own making through it.
//
// Thread rule: a hive belongs to one thread.
#pragma once

#include "tools/keycheck/registry/hive_source.h"

#include <string>
#include <vector>

class MemoryHive final : public HiveSource {
public:
    MemoryHive() : m_keys(1) {}  // the root, node 1

    // Adds a key below parent (the root is Root()) and returns it.
    Node Add(Node parent, const std::string& name) {
        m_keys.push_back(Key{name, {}, {}});
        const Node node = m_keys.size();
        m_keys[parent - 1].children.push_back(node);
        return node;
    }
    void SetValue(Node node, const Value& value) { m_keys[node - 1].values.push_back(value); }

    Node Root() const override { return 1; }
    std::vector<Node> Children(Node node) const override { return m_keys[node - 1].children; }
    std::string Name(Node node) const override { return m_keys[node - 1].name; }
    std::vector<Value> Values(Node node) const override { return m_keys[node - 1].values; }

private:
    struct Key {
        std::string name;
        std::vector<Node> children;
        std::vector<Value> values;
    };
    std::vector<Key> m_keys;
};
