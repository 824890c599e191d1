// Windows 98 and Me's registry files: SYSTEM.DAT (HKEY_LOCAL_MACHINE), signature "CREG", read
// through libcreg (Debian's libcreg-dev) where the build has it; keycheck.exe has none and says so.
//
// The layout is libcreg's format document's ("Windows 9x Registry File (CREG) format"): a
// 32-byte header, the key navigation record "RGKN" at 0x20 holding one 28-byte entry per key
// (its name's hash, its parent's, first subkey's and next sibling's entry offsets, and where its
// name entry lies), and data blocks "RGDB" holding each key's name and values.
//
// Thread rule: pure functions of their arguments; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"

#include <cstdint>
#include <string>

// Whether bytes start as a 98/Me registry file does, with "CREG".
bool IsCregFile(const std::string& head);

// How many of the file's first bytes CregNavigationIsSound needs to see: the header and the key
// navigation record, as far as the file (of fileSize bytes) holds them.
std::uint64_t CregNavigationBytes(const std::string& head, std::uint64_t fileSize);

// Whether the key navigation record is a tree keycheck can walk: the header and the record are
// whole, every entry the root reaches lies inside the record, and none is reached twice. head
// holds the file's first bytes, as many as CregNavigationBytes asks for. libcreg follows a chain
// of sibling or subkey offsets that loops for ever; keycheck asks this first.
bool CregNavigationIsSound(const std::string& head, std::uint64_t fileSize, std::string& why);

// The keys Windows 98 SE and Me's launcher, and keycheck, read from SYSTEM.DAT, as
// HKEY_LOCAL_MACHINE's in tree: Enum\PCI with every key below it, in the order 98/Me's
// RegEnumKey gives them (the file's own), and the values of
// Software\Microsoft\Windows\CurrentVersion. Names and string data stay the code page's bytes
// as the file holds them; strings end at their NUL. False, with why in error, for a damaged or
// cut-short file, or where this build reads no 98/Me registry files. The file at path is read
// where it lies, as far as libcreg needs it.
bool ReadCregFile(const std::string& path, RegKeyTree& tree, std::string& error);

// The same for a file's bytes read from elsewhere (a disk image).
bool ReadCregBytes(const std::string& bytes, RegKeyTree& tree, std::string& error);
