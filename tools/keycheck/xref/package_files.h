// The files an INF names that must lie in the package: its catalog and its source disk files.
#pragma once

#include "tools/keycheck/inf/version_inf.h"

#include <string>
#include <vector>

class CFakeOs;

// The CatalogFile and [SourceDisksFiles] files of the INF version reads that the package in
// dir does not hold, looked for below the INF's own folder as Windows does.
std::vector<InfFinding> MissingPackageFiles(const CFakeOs& machine, const std::string& dir,
                                            const VersionInf& inf);
