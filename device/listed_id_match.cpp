// Which listed device ID a PCI device key's name holds.
#include "device/listed_id_match.h"

#include "device/device_id_table.h"
#include "platform/mbcs_text.h"

int FirstListedIdIn(const char* name) {
    // An empty ID would be found in every name; it names no device.
    for (int i = 0; i < g_deviceIdTable.count; ++i) {
        const char* id = g_deviceIdTable.ids[i];
        if (id[0] != '\0' && MbFindString(name, id) >= 0)
            return i;
    }
    return -1;
}
