// The device-ID table: the PCI device IDs that key.ini lists, in file order.
#pragma once

#include <cstdint>

const int kMaxDeviceIds = 40;
const int kDeviceIdSize = 40;  // at most 39 bytes and a NUL

// Names are screened before they are searched (Wu and Manber's multi-pattern scheme): a window
// as long as the shortest listed ID moves along the name, and the hash of its last four bytes
// says how far it may move before it could end on the start of some ID. The screening is
// prepared from the IDs whenever they are read, and kept beside them.
const int kScreenTail = 4;
const int kScreenBucketBits = 12;
struct ListedIdScreen {
    // How far a window may move on, by the hash of its last four bytes; the hash of the last
    // four bytes of each ID's own window; the window's length, or 0 for no screening (before
    // any table is read, or when an ID is shorter than four bytes).
    unsigned char skip[1 << kScreenBucketBits];
    std::uint32_t startTail[kMaxDeviceIds];
    int window;
};

struct DeviceIdTable {
    char ids[kMaxDeviceIds][kDeviceIdSize];
    std::int32_t count;
    ListedIdScreen screen;
};

// Filled by LoadKeyFile, read by the device-key search; lives for the whole process.
extern DeviceIdTable g_deviceIdTable;
// The key file's text with its closing NUL, once LoadKeyFile has read it; null before.
extern char* g_pszKeyText;

// Parses key-file text (ending at its first NUL) into table, replacing its entries.
//
// Every "=" outside a value starts an entry whose value runs to the next carriage return or
// the end of the text, blanks, tabs and line feeds included. An entry longer than 39 bytes
// keeps its place but is stored empty, since a cut-down ID would match devices it never
// named; empty entries match nothing. Entries after the 40th are ignored.
void ParseKeyText(const char* text, DeviceIdTable& table);
