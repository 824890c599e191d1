// Windows 98/Me registry files read through libcreg.
#include "tools/keycheck/creg/creg_file.h"

#include "tools/keycheck/registry/memory_file.h"
#include "tools/keycheck/thirdparty/known_leaks.h"

#include <libcreg.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

namespace {
// Each libcreg call takes an error out-parameter that the caller frees; keycheck says only
// that the file is damaged, which is what every failure here means.
struct Error {
    libcreg_error_t* error = nullptr;
    ~Error() { libcreg_error_free(&error); }
    libcreg_error_t** operator&() { return &error; }
};

struct Damaged {};

void Check(int result) {
    if (result != 1)
        throw Damaged{};
}

struct KeyFree {
    void operator()(libcreg_key_t* key) const { libcreg_key_free(&key, nullptr); }
};
struct ValueFree {
    void operator()(libcreg_value_t* value) const { libcreg_value_free(&value, nullptr); }
};
using Key = std::unique_ptr<libcreg_key_t, KeyFree>;
using Value = std::unique_ptr<libcreg_value_t, ValueFree>;

// A name as the file holds it: the code page's bytes, without the NUL libcreg adds.
template <typename Size, typename Get, typename Item>
std::string RawName(Item* item, Size size, Get get) {
    Error error;
    std::size_t length = 0;
    Check(size(item, &length, &error));
    std::vector<std::uint8_t> name(length + 1);
    if (length != 0)
        Check(get(item, name.data(), name.size(), &error));
    std::string text(reinterpret_cast<const char*>(name.data()), length);
    return text.substr(0, text.find('\0'));
}

// libcreg looks a name up by the hash each key's navigation entry keeps, and reads the names of
// those whose hash matches alone: a key of thousands of subkeys (Software) costs a few reads.
Key SubkeyNamed(libcreg_key_t* key, const std::string& name) {
    Error error;
    libcreg_key_t* sub = nullptr;
    const int found = libcreg_key_get_sub_key_by_utf8_name(
        key, reinterpret_cast<const std::uint8_t*>(name.data()), name.size(), &sub, &error);
    if (found < 0)
        throw Damaged{};
    return Key(found == 1 ? sub : nullptr);
}

void CopyValues(libcreg_key_t* key, RegKey& into) {
    Error error;
    int count = 0;
    Check(libcreg_key_get_number_of_values(key, &count, &error));
    for (int i = 0; i < count; ++i) {
        libcreg_value_t* raw = nullptr;
        Check(libcreg_key_get_value_by_index(key, i, &raw, &error));
        const Value value(raw);
        RegValue copy;
        copy.name = RawName(raw, libcreg_value_get_name_size, libcreg_value_get_name);
        std::uint32_t type = 0;
        Check(libcreg_value_get_value_type(raw, &type, &error));
        copy.type = static_cast<int>(type);
        std::size_t size = 0;
        Check(libcreg_value_get_value_data_size(raw, &size, &error));
        std::vector<std::uint8_t> data(size);
        if (size != 0)
            Check(libcreg_value_get_value_data(raw, data.data(), size, &error));
        copy.data.assign(reinterpret_cast<const char*>(data.data()), size);
        // 98/Me keep a string with its NUL, and at times without; the text ends at the NUL.
        if (copy.type == kRegSz)
            copy.data = copy.data.substr(0, copy.data.find('\0'));
        SetRegValue(into, std::move(copy));
    }
}

void CopyBelow(libcreg_key_t* key, std::vector<std::string>& path, RegKeyTree& tree) {
    CopyValues(key, tree.Add(path));
    Error error;
    int count = 0;
    Check(libcreg_key_get_number_of_sub_keys(key, &count, &error));
    for (int i = 0; i < count; ++i) {
        libcreg_key_t* sub = nullptr;
        Check(libcreg_key_get_sub_key_by_index(key, i, &sub, &error));
        const Key owned(sub);
        path.push_back(RawName(sub, libcreg_key_get_name_size, libcreg_key_get_name));
        CopyBelow(sub, path, tree);
        path.pop_back();
    }
}

// The key at path below key, or null.
Key Below(libcreg_key_t* root, const std::vector<std::string>& path) {
    Key at;
    libcreg_key_t* key = root;
    for (const std::string& name : path) {
        at = SubkeyNamed(key, name);
        if (at == nullptr)
            return nullptr;
        key = at.get();
    }
    return at;
}

class File {
public:
    explicit File(const std::string& path) {
        Error error;
        Check(libcreg_file_initialize(&m_file, &error));
        Check(libcreg_file_open(m_file, path.c_str(), LIBCREG_OPEN_READ, &error));
        m_open = true;
    }
    ~File() {
        if (m_open)
            libcreg_file_close(m_file, nullptr);
        libcreg_file_free(&m_file, nullptr);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    Key Root() {
        Error error;
        libcreg_key_t* root = nullptr;
        Check(libcreg_file_get_root_key(m_file, &root, &error));
        return Key(root);
    }

private:
    libcreg_file_t* m_file = nullptr;
    bool m_open = false;
};

// The file's first bytes, as many as the navigation check needs.
bool ReadHead(const std::string& path, std::string& head, std::uint64_t& size) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    size = static_cast<std::uint64_t>(file.tellg());
    for (std::uint64_t needed = CregNavigationBytes(head, size); head.size() < needed;
         needed = CregNavigationBytes(head, size)) {
        head.resize(static_cast<std::size_t>(needed));
        if (!file.seekg(0) || !file.read(&head[0], static_cast<std::streamsize>(needed)))
            return false;
    }
    return true;
}
}  // namespace

bool ReadCregFile(const std::string& path, RegKeyTree& tree, std::string& error) {
    std::string head;
    std::uint64_t size = 0;
    if (!ReadHead(path, head, size)) {
        error = "cannot be read";
        return false;
    }
    if (!CregNavigationIsSound(head, size, error))
        return false;
    try {
        File file(path);
        const Key root = file.Root();
        std::vector<std::string> pci{"Enum", "PCI"};
        if (const Key key = Below(root.get(), pci))
            CopyBelow(key.get(), pci, tree);
        const std::vector<std::string> version{"Software", "Microsoft", "Windows",
                                               "CurrentVersion"};
        if (const Key current = Below(root.get(), version))
            CopyValues(current.get(), tree.Add(version));
    } catch (const Damaged&) {
        error = "a 98/Me registry file libcreg cannot read: damaged or cut short";
        return false;
    }
    return true;
}

// libcreg opens a file by name: the bytes are given it as one held in memory, where a read past
// the end is a short read (libbfio's own memory range copies past its end on a data block that
// claims more bytes than the file has).
bool ReadCregBytes(const std::string& bytes, RegKeyTree& tree, std::string& error) {
    if (!CregNavigationIsSound(bytes, bytes.size(), error))
        return false;
    MemoryFile file;
    return file.Append(bytes.data(), bytes.size(), error) && ReadCregFile(file.Path(), tree, error);
}
