// The device-ID table: the PCI device IDs that key.ini lists, in file order.
#pragma once

#include <cstdint>

const int kMaxDeviceIds = 40;
const int kDeviceIdSize = 40;  // at most 39 bytes and a NUL

struct DeviceIdTable {
    char ids[kMaxDeviceIds][kDeviceIdSize];
    std::int32_t count;
};

// Filled by LoadKeyFile, read by the device-key search; lives for the whole process.
extern DeviceIdTable g_deviceIdTable;

// Parses key-file text (ending at its first NUL) into table, replacing its entries.
//
// Every "=" outside a value starts an entry whose value runs to the next carriage return or
// the end of the text, blanks, tabs and line feeds included. An entry longer than 39 bytes
// keeps its place but is stored empty, since a cut-down ID would match devices it never
// named; empty entries match nothing. Entries after the 40th are ignored.
void ParseKeyText(const char* text, DeviceIdTable& table);
