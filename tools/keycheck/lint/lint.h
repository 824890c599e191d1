// keycheck lint: a package as the launcher will read it: key.ini's sharp edges, the files the
// launcher uses, and the F6 file's findings.
//
// Thread rule: a pure function of the package; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package.h"

#include <string>
#include <vector>

struct PackageFileCheck {
    std::string path;    // below the package folder, as the launcher names it
    std::string usedBy;  // where the launcher uses it
    bool present;
};

struct LintResult {
    std::vector<PackageFileCheck> files;
    // Those of key.ini by offset (file "key.ini", with the offset), then the files', then the
    // F6 file's findings (its warnings are txtsetup's and xref's to say).
    std::vector<Finding> findings;
};

LintResult LintPackage(const Package& package);
