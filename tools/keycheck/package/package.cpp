// A driver package read once into a value.
#include "tools/keycheck/package/package.h"

#include "tools/keycheck/findings/checked_versions.h"

#include <utility>

const char* const kF6FileName = "TXTSETUP.OEM";

namespace {
// The launcher opens its program folder's key.ini; Windows finds it whatever its case.
const char* const kKeyFileName = "key.ini";
}  // namespace

const VersionInf& Package::InfFor(OsType version) const {
    for (const VersionInf& inf : infs) {
        if (inf.version == version)
            return inf;
    }
    return infs.front();
}

bool ReadPackage(const std::string& folder, const InfReading& reading, Package& package,
                 std::string& error) {
    PackageFiles files(reading.codePage);
    return files.List(folder, error) &&
           ReadPackageFiles(std::move(files), folder, reading, package, error);
}

namespace {
// The package's F6 file, if it holds one.
bool ReadF6File(Package& package, std::string& error) {
    const PackageFile* f6 = package.files.Find(kF6FileName);
    package.hasF6File = f6 != nullptr;
    std::string bytes;
    if (f6 != nullptr) {
        if (!package.files.Read(*f6, bytes, error))
            return false;
        package.f6File = ParseTxtSetup(bytes);
    }
    return true;
}

// The INF file each version is given.
bool ReadInfs(Package& package, std::string& error) {
    InfFilesRead read;
    for (OsType version : kInfVersions) {
        package.infs.emplace_back();
        if (!ReadVersionInf(package.files, version, package.reading, read, package.infs.back(),
                            error))
            return false;
    }
    return true;
}
}  // namespace

bool ReadDriverFolder(PackageFiles files, const std::string& folder, const InfReading& reading,
                      Package& package, std::string& error) {
    package = Package();
    package.folder = folder;
    package.files = std::move(files);
    package.reading = reading;
    return ReadF6File(package, error);
}

bool ReadPackageFiles(PackageFiles files, const std::string& folder, const InfReading& reading,
                      Package& package, std::string& error) {
    if (!ReadDriverFolder(std::move(files), folder, reading, package, error))
        return false;
    const PackageFile* keyFile = package.files.Find(kKeyFileName);
    std::string bytes;
    if (keyFile != nullptr && !package.files.Read(*keyFile, bytes, error))
        return false;
    package.keyFile = LoadKeyFile(keyFile != nullptr, keyFile != nullptr ? keyFile->path : "",
                                  bytes, reading.codePage);
    return ReadInfs(package, error);
}
