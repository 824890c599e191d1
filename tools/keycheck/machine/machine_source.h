// The machine a user names for keycheck to read, whatever it is: a registry export, a Windows
// 2000/XP SYSTEM hive file. Opening it gives one value: the key tree under HKEY_LOCAL_MACHINE,
// what kind of source it was, the control set read as CurrentControlSet, and, where the source
// records them, the Windows folder and version.
//
// A new kind of source is a new MachineKind and a reader that fills the same value; the verbs
// that take a machine need nothing new.
//
// Thread rule: OpenMachine touches nothing shared; any thread. A MachineSource is a value.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>

enum class MachineKind {
    Export,  // a .reg file, REGEDIT4 or version 5.00
    NtHive,  // a Windows 2000/XP SYSTEM hive file
};

struct MachineSource {
    std::string path;  // as the user named it
    MachineKind kind = MachineKind::Export;
    RegFileEncoding encoding = RegFileEncoding::Ansi;  // an export's file
    // How the tree's string data is held: UTF-16LE in version 5.00 and in hives, code-page
    // bytes in REGEDIT4.
    RegFormat format = RegFormat::Regedit4;
    RegKeyTree tree;
    int localMachineKeys = 0;  // as the source holds them, before a control set is mapped
    // The control set read as CurrentControlSet, below HKEY_LOCAL_MACHINE for an export
    // ("TEMP\ControlSet001") or in the hive ("ControlSet001"); empty when the source names
    // CurrentControlSet itself.
    std::string controlSet;
};

// Reads what path names, in codePage: a hive by its signature "regf", else an export. On
// failure error holds one line naming the file (and the line, for an export).
bool OpenMachine(const std::string& path, int codePage, MachineSource& machine, std::string& error);

// The same for a file's bytes already read; path names it in errors.
bool ReadMachine(const std::string& bytes, const std::string& path, int codePage,
                 MachineSource& machine, std::string& error);

// "REGEDIT4", "version 5.00 (ANSI)", "SYSTEM hive file, ControlSet001 read as
// CurrentControlSet" and the like, for the text reports.
std::string MachineLabel(const MachineSource& machine);
// The JSON reports' "encoding": "UTF-16LE", "UTF-8", "ANSI", or "REGEDIT4" for an ANSI file
// with that header; and their "format": "REGEDIT4", "5.00", or "hive" for a hive file.
const char* MachineEncodingName(const MachineSource& machine);
const char* MachineFormatName(const MachineSource& machine);
