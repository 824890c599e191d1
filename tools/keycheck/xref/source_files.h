// The files an INF names that must lie in the package: its source disk files (its catalog is the
// signing check's).
//
// Thread rule: a pure function; any thread.
#pragma once

#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/package/package_files.h"
#include "tools/keycheck/package/version_inf.h"

#include <vector>

// The [SourceDisksFiles] files of the INF a version reads that the package does not hold, looked
// for below the INF's own folder as Windows does.
std::vector<Finding> MissingSourceFiles(const PackageFiles& files, const VersionInf& inf);
