// A Windows 2000/XP SYSTEM hive read as the running machine would show its PCI branch.
#include "tools/keycheck/registry/system_hive.h"

#include "tools/keycheck/registry/control_set.h"
#include "tools/keycheck/text/code_page.h"

#include <cstdio>
#include <utility>

namespace {
// A hive is a tree of at most a few levels below Enum\PCI; a deeper or larger one is damaged
// or made to exhaust the reader.
const int kMaxDepth = 16;
const int kMaxKeys = 1000000;

struct ReadFailure {
    std::string what;
};

// The child of node named name, compared without regard to ASCII case, or false.
bool Child(const HiveSource& hive, HiveSource::Node node, const std::string& name,
           HiveSource::Node& found) {
    for (HiveSource::Node child : hive.Children(node)) {
        const std::string childName = hive.Name(child);
        bool same = childName.size() == name.size();
        for (std::size_t i = 0; same && i < name.size(); ++i) {
            const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
            same = fold(childName[i]) == fold(name[i]);
        }
        if (same) {
            found = child;
            return true;
        }
    }
    return false;
}

// name (UTF-8) in codePage; a character the code page lacks is refused, as in an export.
std::string InCodePage(const std::string& name, int codePage, const char* what) {
    std::uint32_t unconvertible = 0;
    std::string converted = Utf16ToCodePage(Utf8ToUtf16(name), codePage, &unconvertible);
    if (unconvertible != 0) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(unconvertible));
        throw ReadFailure{std::string("a ") + what + " holds " + code +
                          ", which keycheck cannot convert to code page " +
                          std::to_string(codePage)};
    }
    return converted;
}

// A REG_SZ's text: its UTF-16LE up to the first NUL, in codePage.
std::string Text(const std::string& utf16, int codePage) {
    std::size_t end = 0;
    while (end + 1 < utf16.size() && (utf16[end] != '\0' || utf16[end + 1] != '\0'))
        end += 2;
    return Utf16ToCodePage(utf16.substr(0, end), codePage);
}

void CopyValues(const HiveSource& hive, HiveSource::Node node, int codePage, RegKey& key) {
    for (const HiveSource::Value& value : hive.Values(node)) {
        RegValue copied{InCodePage(value.name, codePage, "value name"), value.type, value.data};
        if (value.type == kRegSz)
            copied.data = Text(value.data, codePage);
        SetRegValue(key, copied);
    }
}

void CopyKey(const HiveSource& hive, HiveSource::Node node, std::vector<std::string>& path,
             int codePage, RegKeyTree& tree, int depth, int& keys) {
    if (depth > kMaxDepth || ++keys > kMaxKeys)
        throw ReadFailure{"more keys below Enum\\PCI, or deeper, than a SYSTEM hive holds"};
    CopyValues(hive, node, codePage, tree.Add(path));
    for (HiveSource::Node child : hive.Children(node)) {
        path.push_back(InCodePage(hive.Name(child), codePage, "key name"));
        CopyKey(hive, child, path, codePage, tree, depth + 1, keys);
        path.pop_back();
    }
}
bool ReadControlSet(const HiveSource& hive, HiveSource::Node set, const std::string& name,
                    int codePage, RegKeyTree& tree, std::string& controlSet) {
    RegKeyTree read(codePage);
    HiveSource::Node enumKey = 0, pci = 0;
    if (Child(hive, set, "Enum", enumKey) && Child(hive, enumKey, "PCI", pci)) {
        std::vector<std::string> path{"SYSTEM", "CurrentControlSet", "Enum", "PCI"};
        int keys = 0;
        CopyKey(hive, pci, path, codePage, read, 0, keys);
    }
    tree = std::move(read);
    controlSet = name;
    return true;
}
}  // namespace

bool IsHiveFile(const std::string& bytes) {
    return bytes.compare(0, 4, "regf") == 0;
}

bool ReadSystemHive(const HiveSource& hive, int codePage, const std::string& requested,
                    RegKeyTree& tree, std::string& controlSet, std::string& error) {
    try {
        if (!requested.empty()) {
            for (HiveSource::Node child : hive.Children(hive.Root())) {
                const std::string name = hive.Name(child);
                if (NamesControlSet(requested, name))
                    return ReadControlSet(hive, child, name, codePage, tree, controlSet);
            }
            error = "--control-set " + requested + " names no control set the hive holds";
            return false;
        }
        HiveSource::Node select = 0;
        long current = -1;
        if (Child(hive, hive.Root(), "Select", select)) {
            for (const HiveSource::Value& value : hive.Values(select)) {
                if (value.name == "Current" && value.type == kRegDword && value.data.size() == 4) {
                    current = 0;
                    for (int i = 3; i >= 0; --i)
                        current = (current << 8) | static_cast<unsigned char>(value.data[i]);
                }
            }
        }
        if (current < 1 || current > 999) {
            error = "no Select key with a Current control set: not a SYSTEM hive";
            return false;
        }
        char name[32];
        std::snprintf(name, sizeof name, "ControlSet%03ld", current);
        HiveSource::Node set = 0;
        if (!Child(hive, hive.Root(), name, set)) {
            error = std::string("Select names ") + name + ", which the hive does not hold";
            return false;
        }
        return ReadControlSet(hive, set, name, codePage, tree, controlSet);
    } catch (const ReadFailure& failure) {
        error = failure.what;
        return false;
    }
}

void ReadNtVersionKey(const HiveSource& hive, int codePage, RegKeyTree& tree) {
    HiveSource::Node microsoft = 0, nt = 0, current = 0;
    if (!Child(hive, hive.Root(), "Microsoft", microsoft) ||
        !Child(hive, microsoft, "Windows NT", nt) || !Child(hive, nt, "CurrentVersion", current))
        return;
    try {
        RegKey& key = tree.Add({"SOFTWARE", "Microsoft", "Windows NT", "CurrentVersion"});
        CopyValues(hive, current, codePage, key);
    } catch (const ReadFailure&) {
        tree.Remove({"SOFTWARE", "Microsoft", "Windows NT", "CurrentVersion"});
    }
}
