// Reads a registry export (REGEDIT4 or version 5.00, in any encoding) into a key tree.
//
// Thread rule: pure functions of their arguments; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>

// What an export leaves under HKEY_LOCAL_MACHINE: its keys with their values, and how the file
// was written.
struct RegExport {
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    RegFormat format = RegFormat::Regedit4;
    RegKeyTree tree;
};

// Reads the export's keys and values under HKEY_LOCAL_MACHINE, after applying its [-KEY]
// deletions and "name"=- value deletions; keys of the other roots are skipped. The text is
// walked character by character in codePage. On failure error holds "fileName:line: what is
// wrong".
bool ReadRegExport(const std::string& bytes, const std::string& fileName, int codePage,
                   RegExport& contents, std::string& error);
