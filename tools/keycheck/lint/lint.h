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
    // F6 file's findings and the catalogs' (their warnings are the other verbs' to say).
    std::vector<Finding> findings;
};

// With readCatalogs (and a build that reads them), the catalogs are read and checked.
LintResult LintPackage(const Package& package, bool readCatalogs);
