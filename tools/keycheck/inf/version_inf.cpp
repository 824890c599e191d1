// The INF file each Windows version gets from a driver package, by the launcher's own rules,
// and the models lines that version reads in it.
#include "tools/keycheck/inf/version_inf.h"

#include "install/package_copies.h"
#include "sim/fake_os.h"
#include "sim/windows_versions.h"
#include "tools/keycheck/inf/inf_text.h"

namespace {
// Windows 9x looks for the INF of a newly detected device in the inf folder of the Windows
// directory, so the copy placed there is the one it reads.
const char* const kInfFolder = "\\INF\\";

const PackageCopy* InfCopy(const PackageCopy* copies, int count) {
    for (int i = 0; i < count; ++i) {
        if (InfUpper(copies[i].destination).compare(0, 5, kInfFolder) == 0)
            return &copies[i];
    }
    return nullptr;
}

}  // namespace

const char* VersionLabel(OsType version) {
    return WindowsVersionInstalledAs(version)->label;
}

VersionInf ReadVersionInf(const CFakeOs& machine, const std::string& dir, OsType version,
                          int language) {
    VersionInf result;
    result.version = version;
    result.label = VersionLabel(version);
    if (IsNtVersion(version)) {
        result.path = kNtInstallerInf;
        result.use = "given to install.exe";
    } else {
        const PackageCopy* copy = version == OS_WINME ? InfCopy(kWinMeCopies, kWinMeCopyCount)
                                                      : InfCopy(kWin98SeCopies, kWin98SeCopyCount);
        result.path = copy->source;
        result.use = std::string("copied to ") + copy->destination;
    }
    result.inf.path = result.path;
    result.found = machine.FileExists(dir + result.path);
    if (!result.found) {
        result.models.findings.push_back(
            InfFinding{result.path, 0, "missing-inf", result.path + " is not in the package"});
        return result;
    }
    result.inf = ParseInf(result.path, machine.FileContent(dir + result.path),
                          InfReading{machine.CodePage(), language});
    if (!IsNtVersion(version) && result.inf.encoding == InfEncoding::Utf16Le) {
        // Windows 9x reads INF files as ANSI text; Unicode ones came with the NT family.
        result.models.findings.push_back(
            InfFinding{result.path, 0, "unicode-inf", "UTF-16 text, which Windows 9x cannot read"});
        return result;
    }
    result.models = ModelsForVersion(result.inf, version);
    // What the file says matters only to a version that reads it, and there only where it
    // reads: a finding in a section it never looks at is none of its business.
    if (result.models.readable) {
        std::vector<InfFinding> read;
        for (const InfFinding& finding : result.inf.findings) {
            if (finding.section.empty() ||
                VersionReadsSection(result.inf, result.models, finding.section, version))
                read.push_back(finding);
        }
        result.models.findings.insert(result.models.findings.begin(), read.begin(), read.end());
    }
    return result;
}
