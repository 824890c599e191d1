// Packages held in memory for keycheck's tests, read as keycheck reads a folder.
#pragma once

#include "tools/keycheck/package/package.h"

#include <string>
#include <utility>
#include <vector>

// The launcher's package (sim's PackageFileList) with key.ini holding keyIni, in codePage.
PackageFiles LauncherPackageFiles(const std::string& keyIni, int codePage = 1252);

// files read as a package named "pkg", with the reading given.
Package ReadTestPackage(PackageFiles files, const InfReading& reading = {});
