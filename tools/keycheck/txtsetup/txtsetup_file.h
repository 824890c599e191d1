// TXTSETUP.OEM, the file Windows 2000 and XP text-mode setup reads from a driver floppy when
// the user presses F6: its sections and entries, as text-mode setup cuts them.
//
// Thread rule: pure functions; any thread.
#pragma once

#include <string>
#include <vector>

struct TxtSetupEntry {
    int line;  // from 1
    bool hasKey;
    std::string key;
    std::vector<std::string> fields;  // quotes removed, blanks around unquoted text dropped
};

struct TxtSetupSection {
    std::string name;  // as written
    int line;
    std::vector<TxtSetupEntry> entries;
};

struct TxtSetupFile {
    std::vector<TxtSetupSection> sections;  // in order; same-named sections kept apart

    // The first section of that name, compared without regard to ASCII case, or null.
    const TxtSetupSection* Section(const std::string& name) const;
};

// Cuts the file's bytes ("TxtSetup.oem File Format"): "[name]" starts a section; a line whose
// first non-blank character is ";" or "#" is a comment; "key = value1,value2,..." with values
// in double quotes where they hold blanks, commas or hashes. A ";" outside quotes also ends an
// entry, as in an INF (no page settles it; real files put comments after entries).
TxtSetupFile ParseTxtSetup(const std::string& bytes);
