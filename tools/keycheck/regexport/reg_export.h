// Reads a registry export (REGEDIT4, or version 5.00 in UTF-16LE) into the fake's registry.
#pragma once

#include "tools/keycheck/regexport/reg_text.h"

#include <string>

class CFakeOs;

struct RegExportSummary {
    RegEncoding encoding = RegEncoding::Ansi;
    int localMachineKeys = 0;  // keys under HKEY_LOCAL_MACHINE after the deletions
};

// Adds the keys the export leaves under HKEY_LOCAL_MACHINE to machine's registry, in the
// order the file first names them, after applying its [-KEY] deletions; keys of the other
// roots are skipped. Values are checked for their form and otherwise ignored. The text is
// walked character by character in machine's code page. On failure nothing is added and
// error holds "fileName:line: what is wrong".
bool LoadRegExport(const std::string& bytes, const std::string& fileName, CFakeOs& machine,
                   RegExportSummary& summary, std::string& error);

// The same for the file at path; an unreadable file gives "path: cannot be read".
bool LoadRegExportFile(const std::string& path, CFakeOs& machine, RegExportSummary& summary,
                       std::string& error);
