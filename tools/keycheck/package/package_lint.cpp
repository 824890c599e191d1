// Checks a driver package as the launcher will read it: key.ini's sharp edges, missing files.
#include "tools/keycheck/package/package_lint.h"

#include "app/driver_setup_app.h"
#include "app/shipped_texts.h"
#include "device/device_id_table.h"
#include "install/package_copies.h"
#include "sim/ansi_names.h"
#include "sim/fake_os.h"
#include "tools/keycheck/package/key_file_findings.h"

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

LintResult LintPackage(CFakeOs& machine, const std::string& dir) {
    const FakeOsInstalled installed(machine);
    LintResult result;
    CDriverSetupApp app;
    app.m_strAppDir = dir.c_str();
    try {
        app.LoadKeyFile();
        result.keyFileFound = true;
        result.listed = g_deviceIdTable;
    } catch (const FakeProcessExit&) {
        // The launcher's refusal: it shows its box and ends.
    }
    if (result.keyFileFound) {
        const std::string bytes = machine.FileContent(dir + "key.ini");
        result.keyFileSize = bytes.size();
        result.keyText = bytes.c_str();
        result.entries = FindKeyEntries(bytes.c_str());
        for (int i = 0; i < result.listed.count; ++i)
            result.table.push_back(result.listed.ids[i]);
        result.findings = KeyFileFindings(bytes, result.entries, result.table);
    } else {
        result.findings.push_back(LintFinding{"no-key-file", -1,
                                              "key.ini cannot be read: the launcher shows \"" +
                                                  std::string(kTextNoKeyFile) +
                                                  "\" and does "
                                                  "nothing on every supported version"});
    }

    result.files = FilesUsed();
    for (PackageFileCheck& file : result.files) {
        file.present = machine.FileExists(dir + file.path);
        if (!file.present)
            result.findings.push_back(LintFinding{"missing-file", -1, MissingFileText(file)});
    }
    return result;
}
