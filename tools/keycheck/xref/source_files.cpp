// The files an INF names that must lie in the package: its catalog and its source disk files.
//
// "INF SourceDisksFiles Section" (learn.microsoft.com/windows-hardware/drivers/install/
// inf-sourcedisksfiles-section): "filename = diskid[,[subdir][,size]]", the file lying in the
// disk's path of [SourceDisksNames] ("diskid = description[,[tag][,[unused][,path...]]]"),
// relative to the folder the INF was installed from, then in subdir. The NT family reads the
// .x86 platform sections first; a catalog file lies beside the INF ("INF Version Section").
#include "tools/keycheck/xref/source_files.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

#include <map>

namespace {
// A folder path joined with a part, with one backslash between them and none in front.
std::string Join(const std::string& folder, std::string part) {
    while (!part.empty() && (part.front() == '\\' || part.front() == '/'))
        part.erase(0, 1);
    while (!part.empty() && (part.back() == '\\' || part.back() == '/'))
        part.pop_back();
    if (part.empty())
        return folder;
    return folder.empty() ? part + "\\" : folder + part + "\\";
}

const InfSection* PlatformSection(const VersionInf& inf, const std::string& name) {
    const InfSection* decorated =
        IsNtVersion(inf.version) ? inf.file->Section(name + ".x86") : nullptr;
    return decorated != nullptr ? decorated : inf.file->Section(name);
}

void CheckFile(const PackageFiles& files, const VersionInf& inf, int line, const std::string& path,
               const char* what, std::vector<Finding>& findings) {
    if (!files.Exists(path))
        findings.push_back(MakeFinding(Code::MissingPackageFile, inf.path, line,
                                       std::string(what) + " " + path + " is not in the package"));
}
}  // namespace

std::vector<Finding> MissingSourceFiles(const PackageFiles& files, const VersionInf& inf) {
    std::vector<Finding> findings;
    const std::size_t slash = inf.path.rfind('\\');
    const std::string infFolder = slash == std::string::npos ? "" : inf.path.substr(0, slash + 1);

    if (const InfSection* version = inf.file->Section("Version")) {
        for (const InfLine& entry : version->lines) {
            const std::string key = AsciiUpper(entry.key);
            const bool catalog =
                key == "CATALOGFILE" || (IsNtVersion(inf.version) &&
                                         (key == "CATALOGFILE.NT" || key == "CATALOGFILE.NTX86"));
            if (entry.hasKey && catalog && !entry.fields[0].empty())
                CheckFile(files, inf, entry.line, infFolder + entry.fields[0], "the catalog file",
                          findings);
        }
    }

    std::map<std::string, std::string> diskPaths;
    if (const InfSection* disks = PlatformSection(inf, "SourceDisksNames")) {
        for (const InfLine& entry : disks->lines) {
            if (entry.hasKey)
                diskPaths[entry.key] = entry.fields.size() > 3 ? entry.fields[3] : "";
        }
    }
    if (const InfSection* listed = PlatformSection(inf, "SourceDisksFiles")) {
        for (const InfLine& entry : listed->lines) {
            const std::string name = entry.hasKey ? entry.key : entry.fields[0];
            const std::string disk = entry.hasKey ? entry.fields[0] : "";
            const auto found = diskPaths.find(disk);
            if (found == diskPaths.end()) {
                findings.push_back(MakeFinding(Code::UnknownSourceDisk, inf.path, entry.line,
                                               name + " is on disk \"" + disk +
                                                   "\", which [SourceDisksNames] does not name"));
                continue;
            }
            const std::string subdir = entry.fields.size() > 1 ? entry.fields[1] : "";
            CheckFile(files, inf, entry.line, Join(Join(infFolder, found->second), subdir) + name,
                      "the source file", findings);
        }
    }
    return findings;
}
