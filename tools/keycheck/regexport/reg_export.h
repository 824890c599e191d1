// Reads a registry export (REGEDIT4 or version 5.00, in any encoding) into the fake's registry.
#pragma once

#include "tools/keycheck/regexport/reg_key_tree.h"
#include "tools/keycheck/regexport/reg_text.h"

#include <string>

class CFakeOs;

struct RegExportSummary {
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    RegFormat format = RegFormat::Regedit4;
    int localMachineKeys = 0;  // keys under HKEY_LOCAL_MACHINE after the deletions
    // The control set read as CurrentControlSet, below HKEY_LOCAL_MACHINE, where the export
    // holds a SYSTEM hive as it is stored ("TEMP\ControlSet001"); empty otherwise.
    std::string controlSet;
    bool hive = false;  // read from a SYSTEM hive file, not an export
};

// What an export leaves under HKEY_LOCAL_MACHINE: its keys with their values.
// "REGEDIT4" or "version 5.00", with the file's encoding in brackets when it is not the one
// regedit writes that format in: "version 5.00 (ANSI)".
std::string RegExportLabel(const RegExportSummary& summary);
// The JSON reports' "encoding": "UTF-16LE", "UTF-8", "ANSI", or "REGEDIT4" for an ANSI file
// with that header; and their "format": "REGEDIT4", "5.00", or "hive" for a SYSTEM hive file.
const char* RegEncodingName(const RegExportSummary& summary);
const char* RegFormatName(const RegExportSummary& summary);

struct RegExport {
    RegExportSummary summary;
    RegKeyTree tree;
};

// Reads the export's keys and values under HKEY_LOCAL_MACHINE, after applying its [-KEY]
// deletions and "name"=- value deletions; keys of the other roots are skipped. The text is
// walked character by character in machine's code page. On failure error holds
// "fileName:line: what is wrong".
bool ReadRegExport(const std::string& bytes, const std::string& fileName, CFakeOs& machine,
                   RegExport& contents, std::string& error);

// The same for the file at path; an unreadable file gives "path: cannot be read". A Windows
// 2000/XP SYSTEM hive file (told apart by its signature "regf") is read as an export of its
// current control set's PCI branch.
bool ReadRegExportFile(const std::string& path, CFakeOs& machine, RegExport& contents,
                       std::string& error);

// Adds the keys the export leaves under HKEY_LOCAL_MACHINE to machine's registry, in the
// order the file first names them, as ReadRegExport reads them; the fake gets no values. On
// failure nothing is added.
bool AddRegExportToMachine(const std::string& bytes, const std::string& fileName, CFakeOs& machine,
                           RegExportSummary& summary, std::string& error);

// The same for the file at path, keeping its keys and values in contents; an unreadable file
// gives "path: cannot be read".
bool AddRegExportFileToMachine(const std::string& path, CFakeOs& machine, RegExport& contents,
                               std::string& error);
