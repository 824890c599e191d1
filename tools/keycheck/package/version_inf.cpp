// The INF file each Windows version gets from a driver package, by the launcher's own rules,
// and the models lines that version reads in it.
#include "tools/keycheck/package/version_inf.h"

#include "install/package_copies.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

namespace {
// Windows 9x looks for the INF of a newly detected device in the inf folder of the Windows
// directory, so the copy placed there is the one it reads.
const char* const kInfFolder = "\\INF\\";

const PackageCopy* InfCopy(const PackageCopy* copies, int count) {
    for (int i = 0; i < count; ++i) {
        if (AsciiUpper(copies[i].destination).compare(0, 5, kInfFolder) == 0)
            return &copies[i];
    }
    return nullptr;
}

}  // namespace

bool ReadVersionInf(const PackageFiles& files, OsType version, const InfReading& reading,
                    InfFilesRead& read, VersionInf& result, std::string& error) {
    result = VersionInf{};
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
    const PackageFile* file = files.Find(result.path);
    result.found = file != nullptr;
    if (!result.found) {
        auto empty = std::make_shared<InfFile>();
        empty->path = result.path;
        result.file = empty;
        result.models.findings.push_back(
            MakeFinding(Code::MissingInf, result.path, 0, result.path + " is not in the package"));
        return true;
    }
    return ReadInfAs(files, *file, result.path, version, reading, read, result, error);
}

bool ReadInfAs(const PackageFiles& files, const PackageFile& file, const std::string& path,
               OsType version, const InfReading& reading, InfFilesRead& read, VersionInf& result,
               std::string& error) {
    result.version = version;
    result.label = VersionLabel(version);
    result.path = path;
    result.found = true;
    std::shared_ptr<const InfFile>& parsed = read[&file];
    if (parsed == nullptr) {
        std::string bytes;
        if (!files.Read(file, bytes, error))
            return false;
        parsed = std::make_shared<InfFile>(ParseInf(file.path, bytes, reading));
    }
    result.file = parsed;
    const InfFile& inf = *result.file;
    if (!IsNtVersion(version) && inf.encoding == InfEncoding::Utf16Le) {
        // Windows 9x reads INF files as ANSI text; Unicode ones came with the NT family.
        result.models.findings.push_back(MakeFinding(Code::UnicodeInf, result.path, 0,
                                                     "UTF-16 text, which Windows 9x cannot read"));
        return true;
    }
    result.models = ModelsForVersion(inf, version);
    // What the file says matters only to a version that reads it, and there only where it
    // reads: a finding in a section it never looks at is none of its business.
    if (result.models.readable) {
        std::vector<Finding> said;
        for (const Finding& finding : inf.findings) {
            if (finding.section.empty() ||
                VersionReadsSection(inf, result.models, finding.section, version))
                said.push_back(finding);
        }
        result.models.findings.insert(result.models.findings.begin(), said.begin(), said.end());
    }
    // The file was read once for every version given it; each version names it as the launcher
    // does ("drv\hx5820.inf" for Me, "Drv\hx5820.inf" for 2000 and XP).
    for (ModelLine& line : result.models.lines)
        line.file = result.path;
    for (Finding& finding : result.models.findings) {
        if (finding.file == inf.path)
            finding.file = result.path;
    }
    return true;
}
