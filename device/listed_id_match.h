// Which listed device ID a PCI device key's name holds.
#pragma once

#include "device/device_id_table.h"

// Prepares table's screening of names from its IDs; called whenever the IDs are filled.
void PrepareListedIdMatch(DeviceIdTable& table);

// The index of the first non-empty ID of table that occurs in name, compared character by
// character and case-sensitively, or -1.
int FirstListedIdIn(const DeviceIdTable& table, const char* name);
