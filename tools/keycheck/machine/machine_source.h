// The machine a user names for keycheck to read, whatever it is: a registry export, a Windows
// 2000/XP SYSTEM hive file, a Windows 98/Me SYSTEM.DAT, or the disk image that holds one of
// the two. Opening it gives one value: the key tree under HKEY_LOCAL_MACHINE, what kind of
// source it was, the control set read as CurrentControlSet, and, where the source records them,
// the Windows folder and version.
//
// A new kind of source is a new MachineKind and a reader that fills the same value; the verbs
// that take a machine need nothing new.
//
// Thread rule: OpenMachine touches nothing shared; any thread. A MachineSource is a value.
#pragma once

#include "tools/keycheck/machine/recorded_version.h"
#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>
#include <vector>

enum class MachineKind {
    Export,     // a .reg file, REGEDIT4 or version 5.00
    NtHive,     // a Windows 2000/XP SYSTEM hive file
    Win9xFile,  // a Windows 98/Me SYSTEM.DAT
};

// What the user chose where the machine leaves a choice: on a disk image, the partition and the
// Windows folder; in an export of several control sets, the one to read.
struct MachineChoice {
    int partition = 0;       // from 1; 0: not chosen
    std::string windowsDir;  // "WIN98" or "C:\WIN98"; "": not chosen
    std::string controlSet;  // "ControlSet002" or "2"; "": not chosen
};

// Where on a disk image the registry file was found.
struct ImagePlace {
    std::string format;         // "raw", "VHD", "VMDK", "qcow2"
    std::string partitionText;  // "partition 1 (FAT32, ...)", or "the whole image (FAT32, ...)"
    int partition = 0;
    std::string windowsDir;    // as the report and the launcher's simulation name it: "C:\WIN98"
    std::string registryFile;  // below the partition's root: "WIN98\SYSTEM.DAT"
};

struct MachineSource {
    std::string path;  // as the user named it
    MachineKind kind = MachineKind::Export;
    RegFileEncoding encoding = RegFileEncoding::Ansi;  // an export's file
    // How the tree's string data is held: UTF-16LE in version 5.00 and in hives, code-page
    // bytes in REGEDIT4 and in 98/Me's files.
    RegFormat format = RegFormat::Regedit4;
    RegKeyTree tree;
    int localMachineKeys = 0;  // as the source holds them, before a control set is mapped
    // The control set read as CurrentControlSet, below HKEY_LOCAL_MACHINE for an export
    // ("TEMP\ControlSet001") or in the hive ("ControlSet001"); empty when the source names
    // CurrentControlSet itself. How it was chosen ("Select\Current", "the only control set",
    // "--control-set"), and every control set found.
    std::string controlSet;
    std::string controlSetHow;
    std::vector<std::string> controlSets;
    RecordedVersion version;  // the Windows version the registry records, if it does
    bool fromImage = false;   // the registry file was read from a disk image, at image
    ImagePlace image;
};

// Reads what path names, in codePage: a hive by its signature "regf", a 98/Me registry file by
// "CREG", a disk image by its own signature, else an export. On failure error holds one line
// naming the file (and the line, for an export).
bool OpenMachine(const std::string& path, int codePage, const MachineChoice& choice,
                 MachineSource& machine, std::string& error);

// The same for a file's bytes already read; path names it in errors. A disk image is read from
// its path.
bool ReadMachine(const std::string& bytes, const std::string& path, int codePage,
                 const MachineChoice& choice, MachineSource& machine, std::string& error);

// "REGEDIT4", "version 5.00 (ANSI)", "SYSTEM hive file, ControlSet001 read as
// CurrentControlSet", "98/Me registry file (SYSTEM.DAT)" and the like, for the text reports;
// a disk image's place follows.
std::string MachineLabel(const MachineSource& machine);
// The JSON reports' "encoding": "UTF-16LE", "UTF-8", "ANSI", or "REGEDIT4" for an ANSI file
// with that header; and their "format": "REGEDIT4", "5.00", "hive" for a hive file, "creg"
// for a 98/Me registry file.
const char* MachineEncodingName(const MachineSource& machine);
const char* MachineFormatName(const MachineSource& machine);
