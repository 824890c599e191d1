// Packages held in memory for keycheck's tests, read as keycheck reads a folder.
#include "tools/keycheck/tests/package_fixture.h"

#include "sim/app_runner.h"

PackageFiles LauncherPackageFiles(const std::string& keyIni, int codePage) {
    PackageFiles files(codePage);
    for (const auto& file : PackageFileList(keyIni))
        files.Add(file.first, file.second);
    return files;
}

Package ReadTestPackage(PackageFiles files, const InfReading& reading) {
    Package package;
    std::string error;
    ReadPackageFiles(std::move(files), "pkg", reading, package, error);
    return package;
}
