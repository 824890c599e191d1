// What the registry fuzz targets share: a key tree as text, to compare two readings, and the
// check that stops a target with its reason.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run when condition fails, naming the target and the broken rule.
inline void FuzzRequire(bool condition, const char* target, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s fuzzing: %s\n", target, what);
        std::abort();
    }
}

// The tree as text: each key's path, then its values with their types and bytes.
inline void DumpRegTree(const RegKey& key, const std::string& path, std::string& out) {
    for (const RegValue& value : key.values) {
        out += path + " \"" + value.name + "\" " + std::to_string(value.type) + " " +
               std::to_string(value.data.size()) + ":" + value.data + "\n";
    }
    for (const auto& child : key.subkeys) {
        const std::string childPath = path + "\\" + child->name;
        out += childPath + "\n";
        DumpRegTree(*child, childPath, out);
    }
}
