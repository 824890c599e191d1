// Which listed device ID a PCI device key's name holds.
#pragma once

// Reads the device-ID table for the screening of names; called whenever the table is filled.
void PrepareListedIdMatch();

// The index of the first non-empty ID of the device-ID table that occurs in name, compared
// character by character and case-sensitively, or -1.
int FirstListedIdIn(const char* name);
