// A registry hive file opened through hivex (Debian's libhivex).
#include "tools/keycheck/registry/hive_file.h"

#include <hivex.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
// hivex's answers for one open file. Its calls return memory the caller frees, and NULL or 0
// with errno set when the file is damaged; a damaged part is then read as empty.
class HivexSource final : public HiveSource {
public:
    explicit HivexSource(hive_h* hive) : m_hive(hive) {}
    ~HivexSource() { hivex_close(m_hive); }
    HivexSource(const HivexSource&) = delete;
    HivexSource& operator=(const HivexSource&) = delete;

    Node Root() const override { return hivex_root(m_hive); }
    std::vector<Node> Children(Node node) const override {
        return List(hivex_node_children(m_hive, node));
    }
    std::string Name(Node node) const override { return Taken(hivex_node_name(m_hive, node)); }
    std::vector<Value> Values(Node node) const override {
        std::vector<Value> values;
        for (Node value : List(hivex_node_values(m_hive, node))) {
            hive_type type = hive_t_none;
            std::size_t length = 0;
            char* data = hivex_value_value(m_hive, value, &type, &length);
            if (data == nullptr)
                continue;
            const std::string bytes(data, length);
            std::free(data);
            values.push_back(
                Value{Taken(hivex_value_key(m_hive, value)), static_cast<int>(type), bytes});
        }
        return values;
    }

private:
    static std::string Taken(char* text) {
        if (text == nullptr)
            return "";
        std::string copy = text;
        std::free(text);
        return copy;
    }
    static std::vector<Node> List(std::size_t* nodes) {
        std::vector<Node> list;
        for (std::size_t* n = nodes; n != nullptr && *n != 0; ++n)
            list.push_back(*n);
        std::free(nodes);
        return list;
    }

    hive_h* m_hive;
};

}  // namespace

std::unique_ptr<HiveSource> OpenHiveFile(const std::string& path, const std::string& name,
                                         std::string& error) {
    errno = 0;
    hive_h* hive = hivex_open(path.c_str(), 0);
    if (hive == nullptr) {
        error = name + ": a registry hive hivex cannot read (" +
                std::string(errno != 0 ? std::strerror(errno) : "damaged") +
                "): damaged or cut short";
        return nullptr;
    }
    return std::make_unique<HivexSource>(hive);
}
