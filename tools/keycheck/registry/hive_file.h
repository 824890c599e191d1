// A registry hive file opened through a hive library, where the build has one: hivex (Debian's
// libhivex) in the Debian build; keycheck.exe has none and says so.
//
// Thread rule: each call opens its own file; any thread. A source belongs to one thread.
#pragma once

#include "tools/keycheck/registry/hive_source.h"

#include <memory>
#include <string>

// The hive at path, or null with error saying why: "name: damaged or cut short", or that this
// build reads no hive files. name is what the reports call the file (its path, or where on a disk
// image it was read).
std::unique_ptr<HiveSource> OpenHiveFile(const std::string& path, const std::string& name,
                                         std::string& error);
