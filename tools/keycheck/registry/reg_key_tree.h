// RegKeyTree: the keys of a registry export with their values, in the order the file names them.
//
// Thread rule: a tree is a value; several threads may read one that none writes.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The registry's numbers for the value types an export writes.
enum RegValueType { kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7 };

struct RegValue {
    std::string name;  // "" for the default value, written @
    int type;          // kRegSz for "text", kRegDword for dword:, the number N of hex(N):
    // A "text" value's characters in the code page; otherwise the data's bytes as written
    // (a dword's four bytes least significant first).
    std::string data;
};

struct RegKey {
    std::string name;
    int codePage = 1252;                                   // the one its names are in
    std::vector<std::unique_ptr<RegKey>> subkeys;          // in the order the file first names them
    std::vector<RegValue> values;                          // in the order the file first sets them
    std::unordered_map<std::string, RegKey*> subkeyIndex;  // by FoldAnsiName

    // The subkey or value of that name, compared as Windows compares names in the code page
    // (FoldAnsiName), or null.
    const RegKey* Subkey(const std::string& subkeyName) const;
    const RegValue* Value(const std::string& valueName) const;
};

class RegKeyTree {
public:
    explicit RegKeyTree(int codePage = 1252) { m_root.codePage = codePage; }

    // Adds the key at path (names below the root) and every key above it that is missing;
    // returns the key. Names are compared as the fake compares them, character by character
    // in the code page.
    RegKey& Add(const std::vector<std::string>& path);
    // Removes the key at path with all its subkeys; a missing key is no error.
    void Remove(const std::vector<std::string>& path);
    // The key at path, or null.
    const RegKey* Find(const std::vector<std::string>& path) const;
    // HKEY_LOCAL_MACHINE, whose subkeys are the export's keys.
    const RegKey& Root() const { return m_root; }
    // The number of keys, the root not counted.
    int Count() const;

private:
    static int CountBelow(const RegKey& key);

    RegKey m_root;
};

// Sets value in key; one of the same name keeps its place and its spelling.
void SetRegValue(RegKey& key, RegValue value);
// Removes key's value of that name; a missing value is no error.
void RemoveRegValue(RegKey& key, const std::string& name);
