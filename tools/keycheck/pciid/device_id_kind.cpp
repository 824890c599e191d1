// Which of a device's two lists of IDs holds an ID.
#include "tools/keycheck/pciid/device_id_kind.h"

const char* DeviceIdKindName(DeviceIdKind kind) {
    return kind == DeviceIdKind::HardwareId ? "hardware ID" : "compatible ID";
}
