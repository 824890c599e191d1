// Parses the key file's text into the device-ID table.
#include "device/device_id_table.h"

#include "platform/mbcs_text.h"
#include "platform/zero_filled.h"

#include <cstring>

ZERO_FILLED DeviceIdTable g_deviceIdTable;

void ParseKeyText(const char* text, DeviceIdTable& table) {
    std::int32_t count = 0;
    int position = 0;
    while (count < kMaxDeviceIds) {
        const int equals = MbFindChar(text + position, '=');
        if (equals < 0)
            break;
        const char* value = text + position + equals + 1;
        // The value ends at the first carriage return byte, whatever the code page.
        const char* end = std::strstr(value, "\r");
        const int length = static_cast<int>(end != nullptr ? end - value : std::strlen(value));

        char* slot = table.ids[count];
        if (length < kDeviceIdSize) {
            std::memcpy(slot, value, static_cast<std::size_t>(length));
            slot[length] = '\0';
        } else {
            slot[0] = '\0';
        }
        ++count;
        // The next entry is searched from the byte that ended this value, so an "=" inside a
        // value belongs to it.
        position = static_cast<int>(value - text) + length;
    }
    table.count = count;
}
