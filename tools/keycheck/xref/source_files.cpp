// The files an INF names that must lie in the package: its source disk files.
#include "tools/keycheck/xref/source_files.h"

#include "tools/keycheck/package/inf_files.h"

namespace {
void CheckFile(const PackageFiles& files, const VersionInf& inf, int line, const std::string& path,
               std::vector<Finding>& findings) {
    if (!files.Exists(path))
        findings.push_back(MakeFinding(Code::MissingPackageFile, inf.path, line,
                                       "the source file " + path + " is not in the package"));
}
}  // namespace

std::vector<Finding> MissingSourceFiles(const PackageFiles& files, const VersionInf& inf) {
    std::vector<Finding> findings;
    for (const SourceFile& file : SourceFiles(inf)) {
        if (!file.knownDisk)
            findings.push_back(MakeFinding(Code::UnknownSourceDisk, inf.path, file.line,
                                           file.name + " is on disk \"" + file.disk +
                                               "\", which [SourceDisksNames] does not name"));
        else
            CheckFile(files, inf, file.line, file.path, findings);
    }
    return findings;
}
