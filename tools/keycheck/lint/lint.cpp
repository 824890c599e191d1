// keycheck lint: a package as the launcher will read it: key.ini's sharp edges, missing files.
#include "tools/keycheck/lint/lint.h"

#include "app/shipped_texts.h"
#include "install/package_copies.h"
#include "sim/ansi_names.h"
#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/lint/key_file_findings.h"
#include "tools/keycheck/signing/signing_check.h"

#include <algorithm>

namespace {

// Paths compared as Windows compares file names. The launcher's own names are ASCII, so the
// code page cannot change the answer.
bool SamePath(const std::string& a, const std::string& b) {
    return SameAnsiName(a, b, 1252);
}

void AddUse(std::vector<PackageFileCheck>& files, const std::string& path, const char* use) {
    auto it = std::find_if(files.begin(), files.end(),
                           [&](const PackageFileCheck& file) { return SamePath(file.path, path); });
    if (it == files.end())
        files.push_back(PackageFileCheck{path, use, false});
    else if (it->usedBy.find(use) == std::string::npos)
        it->usedBy = it->usedBy + ", " + use;
}

std::vector<PackageFileCheck> FilesUsed() {
    std::vector<PackageFileCheck> files;
    AddUse(files, "install.exe", "run on 2000/XP");
    AddUse(files, kNtInstallerInf, "installer's INF on 2000/XP");
    for (const PackageCopy& copy : kWinMeCopies)
        AddUse(files, copy.source, "copied on Me");
    for (const PackageCopy& copy : kWin98SeCopies)
        AddUse(files, copy.source, "copied on 98 SE");
    return files;
}

std::string MissingFileText(const PackageFileCheck& file) {
    if (SamePath(file.path, "install.exe"))
        return "install.exe is missing: on 2000/XP the launcher starts it all the same and "
               "never tells that it failed";
    if (SamePath(file.path, kNtInstallerInf))
        return file.path + " is missing: on 2000/XP the installer is given this path anyway";
    return file.path + " is missing: on Windows 9x the launcher skips its copy without a word (" +
           file.usedBy + ")";
}
}  // namespace

LintResult LintPackage(const Package& package, bool readCatalogs) {
    LintResult result;
    const KeyFile& keyFile = package.keyFile;
    if (keyFile.found) {
        result.findings = KeyFileFindings(keyFile, package.reading.codePage);
    } else {
        result.findings.push_back(MakeFinding(Code::NoKeyFile, "key.ini", 0,
                                              "key.ini cannot be read: the launcher shows \"" +
                                                  std::string(kTextNoKeyFile) +
                                                  "\" and does nothing on every supported "
                                                  "version"));
    }
    result.files = FilesUsed();
    for (PackageFileCheck& file : result.files) {
        file.present = package.files.Exists(file.path);
        if (!file.present)
            result.findings.push_back(
                MakeFinding(Code::MissingFile, file.path, 0, MissingFileText(file)));
    }
    for (const Finding& finding : CheckF6File(package, readCatalogs).findings) {
        if (finding.severity == Severity::Finding)
            result.findings.push_back(finding);
    }
    for (const Finding& finding : CheckPackageSigning(package, readCatalogs).findings) {
        if (finding.severity == Severity::Finding)
            result.findings.push_back(finding);
    }
    return result;
}
