// Which models lines of an INF file one Windows version reads.
//
// Thread rule: pure functions of their arguments; any thread.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/inf/inf_file.h"

#include <string>
#include <vector>

// One device a models section lists: "description = install-section, hardware-id[,
// compatible-id...]".
struct ModelLine {
    std::string file;     // the INF, as the package names it
    std::string section;  // the models section, as written
    int line;
    std::string description;  // %strkey% replaced
    std::string installSection;
    std::string hardwareId;
    std::vector<std::string> compatibleIds;
};

struct InfModels {
    bool readable = false;              // the version takes the file as a device INF at all
    std::vector<std::string> sections;  // the models sections it reads, by [Manufacturer] entry
    std::vector<ModelLine> lines;
    std::vector<Finding> findings;  // why it cannot, missing sections, malformed lines
};

// The models lines Windows version (OS_WIN98SE, OS_WINME, OS_WIN2000 or OS_WINXP) reads in inf.
InfModels ModelsForVersion(const InfFile& inf, OsType version);

// Whether version reads the section of that name, given the models it reads: a models section
// only when it is one of models.sections; a [Strings] section only when the file's string
// table came from it; any other section unless its name carries a platform extension the
// version does not look for.
bool VersionReadsSection(const InfFile& inf, const InfModels& models, const std::string& section,
                         OsType version);
