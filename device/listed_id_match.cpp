// Which listed device ID a PCI device key's name holds.
#include "device/listed_id_match.h"

#include "platform/mbcs_text.h"

#include <cstdint>
#include <cstring>

namespace {
// Only a name where a window holds exactly the start of an ID is searched character-wise for
// every ID.
std::uint32_t TailHash(const char* tail) {
    std::uint32_t bytes;
    std::memcpy(&bytes, tail, sizeof bytes);
    return bytes * 0x9E3779B1u;
}

// The skip table's bucket of a tail hash: its top bits.
std::uint32_t Bucket(std::uint32_t hash) {
    return hash >> (32 - kScreenBucketBits);
}

// Whether some window of name holds the start of a listed ID.
bool MayHoldListedId(const DeviceIdTable& table, const char* name) {
    const ListedIdScreen& screen = table.screen;
    const int length = static_cast<int>(std::strlen(name));
    for (int end = screen.window; end <= length;) {
        const std::uint32_t hash = TailHash(name + end - kScreenTail);
        const int skip = screen.skip[Bucket(hash)];
        if (skip == 0) {
            const char* window = name + end - screen.window;
            for (int i = 0; i < table.count; ++i) {
                if (screen.startTail[i] == hash &&
                    std::strncmp(window, table.ids[i], screen.window) == 0)
                    return true;
            }
        }
        end += skip != 0 ? skip : 1;
    }
    return false;
}

// The skip table and each ID's start tail, for a window of at least a tail's length.
void FillScreen(DeviceIdTable& table) {
    ListedIdScreen& screen = table.screen;
    std::memset(screen.skip, screen.window - kScreenTail + 1, sizeof screen.skip);
    for (int i = 0; i < table.count; ++i) {
        const char* id = table.ids[i];
        for (int end = kScreenTail; end <= screen.window; ++end) {
            unsigned char& skip = screen.skip[Bucket(TailHash(id + end - kScreenTail))];
            if (screen.window - end < skip)
                skip = static_cast<unsigned char>(screen.window - end);
        }
        screen.startTail[i] = TailHash(id + screen.window - kScreenTail);
    }
}
}  // namespace

void PrepareListedIdMatch(DeviceIdTable& table) {
    ListedIdScreen& screen = table.screen;
    screen.window = kDeviceIdSize;
    for (int i = 0; i < table.count; ++i) {
        const int length = static_cast<int>(std::strlen(table.ids[i]));
        if (length != 0 && length < screen.window)
            screen.window = length;
    }
    // An ID shorter than a tail leaves every name unscreened: there is no window to hash.
    if (screen.window < kScreenTail)
        screen.window = 0;
    else
        FillScreen(table);
}

int FirstListedIdIn(const DeviceIdTable& table, const char* name) {
    if (table.screen.window != 0 && !MayHoldListedId(table, name))
        return -1;
    // An empty ID would be found in every name; it names no device.
    for (int i = 0; i < table.count; ++i) {
        const char* id = table.ids[i];
        if (id[0] != '\0' && MbFindString(name, id) >= 0)
            return i;
    }
    return -1;
}
