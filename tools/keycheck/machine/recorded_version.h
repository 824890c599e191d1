// The Windows version a machine's registry records, where it records one.
//
// Thread rule: a pure function of the tree; any thread.
#pragma once

#include "tools/keycheck/registry/reg_key_tree.h"
#include "tools/keycheck/registry/reg_text.h"

#include <string>

struct RecordedVersion {
    std::string option;  // keycheck's --os name ("98se"), or "" when the tree records none
    std::string from;    // where it was read, for the reports
};

// 98/Me keep VersionNumber in HKLM\Software\Microsoft\Windows\CurrentVersion ("4.10.2222" is
// 98 SE, "4.10.1998" 98, "4.90.3000" Me, "4.00.950" and "4.03.1214" 95); the NT family keeps
// CurrentVersion ("5.1") and CSDVersion ("Service Pack 2") in
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion. A tree holding neither, or numbers keycheck
// knows no version by, records none.
RecordedVersion FindRecordedVersion(const RegKeyTree& tree, RegFormat format, int codePage);

// Where the version predict takes came from, for the reports: "--os" when one was given, else
// where the machine records it.
std::string VersionSource(const std::string& osOption, const RecordedVersion& recorded);

// When --os and the machine's record name different versions, the warning the reports give
// (--os is taken); else "".
std::string VersionDisagreement(const std::string& osOption, const RecordedVersion& recorded);
