// Hive files in a build without a hive library (keycheck.exe): refused with one line.
#include "tools/keycheck/registry/hive_file.h"

std::unique_ptr<HiveSource> OpenHiveFile(const std::string& path, const std::string& name,
                                         std::string& error) {
    (void)path;
    error = name + ": a registry hive file; this keycheck reads exports only (the Debian build "
                   "reads SYSTEM hives)";
    return nullptr;
}
