// One folder of a driver library checked as keycheck checks a package: each INF's [Version]
// facts, the versions that read it, their models and IDs, the files it copies that the folder
// lacks, its catalog's verdict, and the folder's F6 file.
//
// Thread rule: a pure function of the folder's files; any thread, side by side.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/findings/finding.h"
#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_models.h"

#include <string>
#include <unordered_set>
#include <vector>

// A models line as a version reads it, with what ranking it needs (match).
struct LibraryDriver {
    OsType version = OS_NONE;
    ModelLine line;
    bool ntInstall = false;  // its install section carries an NT platform extension
    bool trusted = false;    // the version counts the INF as signed (2000, XP)
    std::string driverVer;   // "date,version" as written, or ""
};

struct SurveyedInf {
    std::string file;  // below the folder
    std::string signature, className, provider, driverVer;
    std::vector<OsType> versions;        // those of kInfVersions that read it as a device INF
    int modelLines = 0;                  // the lines the versions read, counted for each version
    std::vector<std::string> ids;        // every hardware and compatible ID they name, once each
    std::vector<LibraryDriver> drivers;  // the lines asked for (SurveyReading::keepLinesOf)
};

struct FolderSurvey {
    std::string folder;  // below the library, with "/" between names; "" for its root
    std::vector<SurveyedInf> infs;
    bool hasF6File = false;
    std::vector<Finding> findings;  // findings, warnings and notes, as the checks gave them
    // The hashes of the upper-case IDs its INFs name, once each: a library's distinct IDs are
    // counted from them, the hashing done where the folder is surveyed.
    std::vector<std::size_t> idKeys;
    // What the report makes of it, made on the thread that surveyed it (SurveyLibrary's
    // finish), so that the one printer only writes it; "" where nothing was made.
    std::string printed;
};

struct SurveyReading {
    InfReading reading;
    bool readCatalogs = true;
    // Fill each INF's drivers with the lines that name one of these IDs (upper case), for
    // match; none when null.
    const std::unordered_set<std::string>* keepLinesOf = nullptr;
};

// INFs larger than this are left unread: no driver's is, and the survey's memory stays bounded.
extern const std::uintmax_t kMaxSurveyedInf;

// Surveys the folder below root ("" for root itself).
FolderSurvey SurveyFolder(const std::string& root, const std::string& folder,
                          const SurveyReading& how);
