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

// The package's INF files and F6 file, after its key file.
bool ReadInfsAndF6(Package& package, std::string& error);
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
    package = Package();
    package.folder = folder;
    package.files = std::move(files);
    package.reading = reading;
    const PackageFiles& all = package.files;

    const PackageFile* keyFile = all.Find(kKeyFileName);
    std::string bytes;
    if (keyFile != nullptr && !all.Read(*keyFile, bytes, error))
        return false;
    package.keyFile = LoadKeyFile(keyFile != nullptr, keyFile != nullptr ? keyFile->path : "",
                                  bytes, reading.codePage);
    return ReadInfsAndF6(package, error);
}

namespace {
bool ReadInfsAndF6(Package& package, std::string& error) {
    const PackageFiles& all = package.files;
    const InfReading& reading = package.reading;
    std::string bytes;
    InfFilesRead read;
    for (OsType version : kInfVersions) {
        package.infs.emplace_back();
        if (!ReadVersionInf(all, version, reading, read, package.infs.back(), error))
            return false;
    }

    return ReadF6File(package, error);
}
}  // namespace
