// keycheck's verbs in one table: the command line, the help, the manual page (make_manpage.sh
// asks keycheck --verbs) and the Wine cross-check read it. A new verb is a row here, a run in
// runs.cpp, a job in a folder of its own and a report in report/.
#pragma once

#include "tools/keycheck/options/options.h"

#include <cstddef>
#include <ostream>

namespace CLI {
class App;
}

struct Verb {
    const char* name;     // as typed: "lint", or "disk build" below a verb of its own
    const char* summary;  // the help's line for it
    void (*addOptions)(CLI::App& verb, Options& options);
    int (*run)(const Options& options, std::ostream& out, std::ostream& err);
    bool json;       // takes --json
    bool onWindows;  // keycheck.exe does it; else it refuses with one line and status 2
    // Takes --no-catalogs: keycheck.exe, which reads no catalogs, gives what this build gives
    // with it.
    bool catalogOption;
    // A run on the sample, its arguments after the verb, from the source folder; the Wine
    // cross-check runs it with both programs (and again with --json where the verb takes it).
    const char* example;
};

extern const Verb kVerbs[];
extern const std::size_t kVerbCount;

// The verbs that hold others ("disk" of "disk build"), with their help's line.
struct VerbGroup {
    const char* name;
    const char* summary;
};
extern const VerbGroup kVerbGroups[];
extern const std::size_t kVerbGroupCount;

// The row of the verb named name, or null.
const Verb* FindVerb(const std::string& name);

// keycheck --verbs: one line a verb, for scripts: its name, "json" or "text", "windows" or
// "host" (where it runs), "no-catalogs" or "-", and its example, separated by tabs.
void PrintVerbList(std::ostream& out);
