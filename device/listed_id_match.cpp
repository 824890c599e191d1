// Which listed device ID a PCI device key's name holds.
#include "device/listed_id_match.h"

#include "device/device_id_table.h"
#include "platform/mbcs_text.h"
#include "platform/zero_filled.h"

#include <cstdint>
#include <cstring>

namespace {
// Names are screened before they are searched (Wu and Manber's multi-pattern scheme): a window
// as long as the shortest listed ID moves along the name, and the hash of its last four bytes
// says how far it may move before it could end on the start of some ID. Only a name where a
// window holds exactly the start of an ID is searched character-wise for every ID.
const int kTail = 4;
const int kBucketBits = 12;

// How far a window may move on, by the hash of its last four bytes; the hash of the last four
// bytes of each ID's own window; the window's length, or 0 for no screening (before any table
// is read, or when an ID is shorter than four bytes).
ZERO_FILLED unsigned char g_skip[1 << kBucketBits];
ZERO_FILLED std::uint32_t g_startTail[kMaxDeviceIds];
int g_window;

std::uint32_t TailHash(const char* tail) {
    std::uint32_t bytes;
    std::memcpy(&bytes, tail, sizeof bytes);
    return bytes * 0x9E3779B1u;
}

unsigned char& Skip(std::uint32_t hash) {
    return g_skip[hash >> (32 - kBucketBits)];
}

// Whether some window of name holds the start of a listed ID.
bool MayHoldListedId(const char* name) {
    const int length = static_cast<int>(std::strlen(name));
    for (int end = g_window; end <= length;) {
        const std::uint32_t hash = TailHash(name + end - kTail);
        const int skip = Skip(hash);
        if (skip == 0) {
            const char* window = name + end - g_window;
            for (int i = 0; i < g_deviceIdTable.count; ++i) {
                if (g_startTail[i] == hash &&
                    std::strncmp(window, g_deviceIdTable.ids[i], g_window) == 0)
                    return true;
            }
        }
        end += skip != 0 ? skip : 1;
    }
    return false;
}
}  // namespace

void PrepareListedIdMatch() {
    g_window = kDeviceIdSize;
    for (int i = 0; i < g_deviceIdTable.count; ++i) {
        const int length = static_cast<int>(std::strlen(g_deviceIdTable.ids[i]));
        if (length != 0 && length < g_window)
            g_window = length;
    }
    if (g_window < kTail) {
        g_window = 0;
        return;
    }
    std::memset(g_skip, g_window - kTail + 1, sizeof g_skip);
    for (int i = 0; i < g_deviceIdTable.count; ++i) {
        const char* id = g_deviceIdTable.ids[i];
        for (int end = kTail; end <= g_window; ++end) {
            unsigned char& skip = Skip(TailHash(id + end - kTail));
            if (g_window - end < skip)
                skip = static_cast<unsigned char>(g_window - end);
        }
        g_startTail[i] = TailHash(id + g_window - kTail);
    }
}

int FirstListedIdIn(const char* name) {
    if (g_window != 0 && !MayHoldListedId(name))
        return -1;
    // An empty ID would be found in every name; it names no device.
    for (int i = 0; i < g_deviceIdTable.count; ++i) {
        const char* id = g_deviceIdTable.ids[i];
        if (id[0] != '\0' && MbFindString(name, id) >= 0)
            return i;
    }
    return -1;
}
