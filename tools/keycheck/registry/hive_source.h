// A registry hive file's keys and values as a hive library answers for them: names in UTF-8,
// value data as stored. keycheck reads Windows 2000/XP SYSTEM hives through hivex.
//
// Thread rule: a source belongs to one thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class HiveSource {
public:
    virtual ~HiveSource() = default;

    using Node = std::uint64_t;
    struct Value {
        std::string name;  // UTF-8; "" for the default value
        int type;          // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4, REG_MULTI_SZ 7
        std::string data;  // as stored: strings in UTF-16LE, a dword least significant first
    };

    virtual Node Root() const = 0;
    virtual std::vector<Node> Children(Node node) const = 0;
    virtual std::string Name(Node node) const = 0;
    virtual std::vector<Value> Values(Node node) const = 0;
};
