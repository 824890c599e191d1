// RegKeyTree: the keys of a registry export, in the order the file first names them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CFakeOs;

class RegKeyTree {
public:
    // Adds the key at path (names below the root) and every key above it that is missing.
    // Names are compared as the fake compares them, without regard to ASCII case.
    void Add(const std::vector<std::string>& path);
    // Removes the key at path with all its subkeys; a missing key is no error.
    void Remove(const std::vector<std::string>& path);
    // The number of keys, the root not counted.
    int Count() const;
    // Adds every key to machine's HKEY_LOCAL_MACHINE, each parent before its subkeys and
    // subkeys in the tree's order, so that the fake enumerates them in the file's order.
    void AddTo(CFakeOs& machine) const;

private:
    struct Node {
        std::string name;
        std::vector<std::unique_ptr<Node>> subkeys;
    };
    static int CountBelow(const Node& node);
    static void AddBelow(const Node& node, const std::string& path, CFakeOs& machine);

    Node m_root;
};
