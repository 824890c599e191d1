// CFakeOs: the registry under HKEY_LOCAL_MACHINE, with each Windows family's rules.
#include "sim/fake_os.h"

#include "sim/ansi_names.h"
#include "sim/scribble.h"
#include "sim/windows_values.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {
// KEY_READ, GENERIC_READ (which maps to it), MAXIMUM_ALLOWED (which then grants only reading)
// and the WOW64 view flags, which are no rights at all.
const std::uint32_t kReadingRights =
    windows::kKeyRead | windows::kGenericRead | windows::kMaximumAllowed | windows::kWow64Views;
// What a registry call made to fail answers: a refusal, the failure the launcher meets when it
// runs without the rights it asks for.
const long kInjectedFailure = windows::kAccessDenied;
}  // namespace

// The path's key names, cut at each backslash character of the code page.
std::vector<std::string> CFakeOs::SplitPath(const std::string& path) const {
    std::vector<std::string> parts;
    for (std::string& part : SplitAnsiPath(path, m_codePage)) {
        if (!part.empty())
            parts.push_back(std::move(part));
    }
    return parts;
}

void CFakeOs::Reindex(Key* key) const {
    key->byName.clear();
    for (const auto& child : key->children) {
        key->byName.emplace(FoldAnsiName(child->name, m_codePage), child.get());
        Reindex(child.get());
    }
}

CFakeOs::Key* CFakeOs::Child(const Key* parent, const std::string& name) const {
    if (m_indexCodePage != m_codePage) {
        m_indexCodePage = m_codePage;
        Reindex(&m_root);
    }
    const auto found = parent->byName.find(FoldAnsiName(name, m_codePage));
    return found == parent->byName.end() ? nullptr : found->second;
}

void CFakeOs::AddKey(const std::string& path) {
    Key* key = &m_root;
    for (const std::string& part : SplitPath(path)) {
        Key* child = Child(key, part);
        if (child == nullptr) {
            key->children.push_back(std::make_unique<Key>());
            child = key->children.back().get();
            child->name = part;
            child->parent = key;
            key->byName.emplace(FoldAnsiName(part, m_codePage), child);
        }
        key = child;
    }
}

void CFakeOs::DenyWriteAccess(const std::string& path) {
    Key* key = FindKey(path);
    if (key == nullptr)
        throw std::out_of_range("no registry key " + path);
    key->denyWrite = true;
}

bool CFakeOs::KeyExists(const std::string& path) const {
    return FindKey(path) != nullptr;
}

std::vector<std::string> CFakeOs::SubKeyNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const Key* key = FindKey(path)) {
        for (const auto& child : key->children)
            names.push_back(child->name);
    }
    return names;
}

CFakeOs::Key* CFakeOs::FindKeyBelow(const Key* base, const std::string& path) const {
    Key* key = const_cast<Key*>(base);
    for (const std::string& part : SplitPath(path)) {
        key = Child(key, part);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

CFakeOs::Key* CFakeOs::KeyOf(OsKey handle) const {
    if (handle == windows::kLocalMachine)
        return const_cast<Key*>(&m_root);
    auto it = m_openKeys.find(handle);
    return it == m_openKeys.end() ? nullptr : it->second;
}

// NT checks each call against the rights the handle was opened with: RegQueryInfoKeyA needs
// KEY_QUERY_VALUE, RegEnumKeyA KEY_ENUMERATE_SUB_KEYS. 9x checks no rights; a predefined key
// is open with every right.
// https://learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regqueryinfokeya
bool CFakeOs::HandleLacks(OsKey handle, std::uint32_t right) const {
    auto it = m_keyRights.find(handle);
    return registrySecurity && it != m_keyRights.end() && (it->second & right) == 0;
}

bool CFakeOs::IsBelowNtEnum(const Key* key) const {
    std::vector<const Key*> path;  // from key up to the first level below the root
    for (const Key* k = key; k != nullptr && k != &m_root; k = k->parent)
        path.push_back(k);
    const std::size_t n = path.size();
    return n >= 3 && SameName(path[n - 1]->name, "SYSTEM") &&
           SameName(path[n - 2]->name, "CurrentControlSet") && SameName(path[n - 3]->name, "Enum");
}

long CFakeOs::RegOpenKeyExA(OsKey parent, const char* subKey, std::uint32_t options,
                            std::uint32_t access, OsKey* result) {
    if (Called(FakeOp::RegOpenKeyExA)) {
        *result = 0;
        return kInjectedFailure;
    }
    // Every option but REG_OPTION_OPEN_LINK is reserved. A refused argument or handle leaves
    // the result as it was on 2000 and XP (Wine's conformance tests record it); a key that
    // cannot be opened sets it to 0.
    // https://learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regopenkeyexa
    if (options != 0 && options != windows::kOpenLink)
        return windows::kInvalidParameter;
    const Key* base = KeyOf(parent);
    if (base == nullptr)
        return windows::kInvalidHandle;
    *result = 0;
    // NT takes a subkey path with a leading backslash for no path at all.
    if (IsNt() && subKey != nullptr && subKey[0] == '\\')
        return windows::kBadPathname;
    Key* key = FindKeyBelow(base, subKey == nullptr ? "" : subKey);
    if (key == nullptr)
        return windows::kFileNotFound;
    const bool writeDenied = key->denyWrite || (registrySecurity && IsBelowNtEnum(key));
    if (writeDenied && (access & ~kReadingRights) != 0)
        return windows::kAccessDenied;
    *result = m_nextHandle++;
    m_openKeys[*result] = key;
    // GENERIC_READ maps to KEY_READ; MAXIMUM_ALLOWED gets at least reading here.
    m_keyRights[*result] =
        access |
        ((access & (windows::kGenericRead | windows::kMaximumAllowed)) ? windows::kKeyRead : 0);
    return 0;
}

long CFakeOs::RegQueryInfoKeyA(OsKey key, std::uint32_t* subKeyCount) {
    if (Called(FakeOp::RegQueryInfoKeyA)) {
        Scribble(subKeyCount, sizeof *subKeyCount);
        return kInjectedFailure;
    }
    const Key* open = KeyOf(key);
    if (open == nullptr)
        return windows::kInvalidHandle;
    if (HandleLacks(key, windows::kQueryValue))
        return windows::kAccessDenied;
    *subKeyCount = static_cast<std::uint32_t>(open->children.size());
    return 0;
}

long CFakeOs::RegEnumKeyA(OsKey key, std::uint32_t index, char* name, std::uint32_t size) {
    if (Called(FakeOp::RegEnumKeyA)) {
        Scribble(name, size);
        return kInjectedFailure;
    }
    const Key* parent = KeyOf(key);
    if (parent == nullptr)
        return windows::kInvalidHandle;
    if (HandleLacks(key, windows::kEnumerateSubKeys))
        return windows::kAccessDenied;
    if (index >= parent->children.size())
        return windows::kNoMoreItems;
    const std::string& childName = parent->children[index]->name;
    if (childName.size() + 1 > size) {
        // The buffer is left holding as much of the name as fits, with no NUL.
        std::memcpy(name, childName.data(), size);
        return windows::kMoreData;
    }
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    return 0;
}

long CFakeOs::RegDeleteKeyA(OsKey key, const char* subKey) {
    if (Called(FakeOp::RegDeleteKeyA))
        return kInjectedFailure;
    Key* parent = KeyOf(key);
    if (parent == nullptr)
        return windows::kInvalidHandle;
    const Key* target = Child(parent, subKey);
    if (target == nullptr)
        return windows::kFileNotFound;
    auto it = std::find_if(parent->children.begin(), parent->children.end(),
                           [&](const auto& child) { return child.get() == target; });
    // Deleting needs the DELETE right on the key itself, which NT's Enum tree does not give an
    // administrator; and NT deletes no key that has subkeys, where 9x takes them along.
    // https://learn.microsoft.com/windows/win32/api/winreg/nf-winreg-regdeletekeya
    if ((registrySecurity && IsBelowNtEnum(it->get())) || (*it)->denyWrite ||
        (!deleteKeyTrees && !(*it)->children.empty()))
        return windows::kAccessDenied;
    keysDeleted.push_back((*it)->name);
    parent->byName.erase(FoldAnsiName((*it)->name, m_codePage));
    parent->children.erase(it);
    return 0;
}

long CFakeOs::RegCloseKey(OsKey key) {
    // Closing always takes effect; a failure is only reported. Closing a predefined key
    // does nothing and succeeds.
    const bool fail = Called(FakeOp::RegCloseKey);
    m_keyRights.erase(key);
    const bool known = key == windows::kLocalMachine || m_openKeys.erase(key) != 0;
    if (fail)
        return kInjectedFailure;
    return known ? 0 : windows::kInvalidHandle;
}
