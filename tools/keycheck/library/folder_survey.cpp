// One folder of a driver library checked as keycheck checks a package.
#include "tools/keycheck/library/folder_survey.h"

#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/package/inf_files.h"
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/signing/signing_check.h"
#include "tools/keycheck/text/ascii_case.h"
#include "tools/keycheck/xref/source_files.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

const std::uintmax_t kMaxSurveyedInf = 32u << 20;

namespace {
std::string VersionValue(const InfFile& file, const char* key) {
    const std::string* value = file.Value("Version", key);
    return value == nullptr ? "" : *value;
}

// The files the INF copies for the version that its folder lacks, where [SourceDisksFiles]
// places them or, without an entry, beside the INF.
void MissingCopies(const PackageFiles& files, const VersionInf& inf, FindingList& found) {
    const std::vector<SourceFile> sources = SourceFiles(inf);
    for (const std::string& name : CopiedFiles(inf)) {
        std::string path = FolderOf(inf.path) + name;
        for (const SourceFile& source : sources) {
            if (source.knownDisk && AsciiUpper(source.name) == AsciiUpper(name))
                path = source.path;
        }
        if (!files.Exists(path))
            found.Add(
                MakeFinding(Code::MissingSourceFile, inf.path, 0,
                            "copies " + name + ", which the folder does not hold (" + path + ")"),
                inf.version);
    }
}

// What the signing check says of the INF for the version: whether it counts as signed.
bool Trusted(const SigningCheck& signing, const std::string& inf, OsType version) {
    for (const InfSigning& each : signing.infs) {
        if (each.version == version && AsciiUpper(each.inf) == AsciiUpper(inf))
            return each.trusted && each.microsoft;
    }
    return false;
}

bool Kept(const ModelLine& line, const std::unordered_set<std::string>* ids) {
    if (ids == nullptr)
        return false;
    if (ids->count(AsciiUpper(line.hardwareId)) != 0)
        return true;
    return std::any_of(line.compatibleIds.begin(), line.compatibleIds.end(),
                       [ids](const std::string& id) { return ids->count(AsciiUpper(id)) != 0; });
}

void Survey(const Package& package, const SurveyReading& how, FolderSurvey& result) {
    const PackageFiles& files = package.files;
    // Its own INFs: a subfolder's are its own folder's, surveyed there.
    std::vector<const PackageFile*> own;
    for (const PackageFile* file : FolderInfs(files)) {
        if (file->path.find('\\') == std::string::npos)
            own.push_back(file);
    }
    // Each INF read once as each version reads it, for its signature and for the survey alike;
    // one too large to read is left unread by both.
    InfFilesRead read;
    std::vector<VersionInf> versionInfs;
    std::vector<std::size_t> firstOf;  // where each INF's versions start in versionInfs
    std::vector<std::string> errors(own.size());
    for (std::size_t i = 0; i < own.size(); ++i) {
        firstOf.push_back(versionInfs.size());
        for (OsType version : kInfVersions) {
            VersionInf versionInf;
            if (own[i]->size > kMaxSurveyedInf ||
                !ReadInfAs(files, *own[i], own[i]->path, version, package.reading, read, versionInf,
                           errors[i]))
                break;
            versionInfs.push_back(std::move(versionInf));
        }
    }
    firstOf.push_back(versionInfs.size());
    const SigningCheck signing = CheckVersionInfsSigning(package, versionInfs, how.readCatalogs);
    FindingList found;
    for (std::size_t i = 0; i < own.size(); ++i) {
        const PackageFile* file = own[i];
        SurveyedInf inf;
        inf.file = file->path;
        if (file->size > kMaxSurveyedInf)
            found.AddForAll(MakeFinding(Code::InfTooLarge, file->path, 0,
                                        std::to_string(file->size) + " bytes: left unread"));
        else if (!errors[i].empty())
            found.AddForAll(MakeFinding(Code::Unreadable, file->path, 0, errors[i]));
        // Every version reads the same [Version] section.
        if (firstOf[i] < firstOf[i + 1]) {
            const InfFile& parsed = *versionInfs[firstOf[i]].file;
            inf.signature = VersionValue(parsed, "Signature");
            inf.className = VersionValue(parsed, "Class");
            inf.provider = VersionValue(parsed, "Provider");
            inf.driverVer = FileDriverVer(parsed);
        }
        std::unordered_set<std::string> ids;
        FindingList unread;
        for (std::size_t at = firstOf[i]; at < firstOf[i + 1]; ++at) {
            const VersionInf& versionInf = versionInfs[at];
            const OsType version = versionInf.version;
            // A version that does not read the INF at all is no fault of it (an NT INF on 98
            // SE); what each says is kept for an INF that no version reads.
            if (!versionInf.models.readable) {
                for (const Finding& finding : versionInf.models.findings)
                    unread.Add(finding, version);
                continue;
            }
            for (const Finding& finding : versionInf.models.findings)
                found.Add(finding, version);
            inf.versions.push_back(version);
            inf.modelLines += static_cast<int>(versionInf.models.lines.size());
            for (const ModelLine& line : versionInf.models.lines) {
                for (const std::string* id : {&line.hardwareId}) {
                    if (!id->empty() && ids.insert(AsciiUpper(*id)).second)
                        inf.ids.push_back(*id);
                }
                for (const std::string& id : line.compatibleIds) {
                    if (!id.empty() && ids.insert(AsciiUpper(id)).second)
                        inf.ids.push_back(id);
                }
                if (Kept(line, how.keepLinesOf))
                    inf.drivers.push_back(LibraryDriver{
                        version, line, HasNtInstallSection(versionInf, line.installSection),
                        Trusted(signing, file->path, version), DriverVerOf(versionInf, line)});
            }
            for (const Finding& finding : MissingSourceFiles(files, versionInf))
                found.Add(finding, version);
            MissingCopies(files, versionInf, found);
        }
        // An INF no version reads as a device's is said why, unless it installs software
        // through [DefaultInstall] (right-click Install), as a library's tools' INFs do.
        const bool software = firstOf[i] < firstOf[i + 1] &&
                              versionInfs[firstOf[i]].file->Section("DefaultInstall") != nullptr;
        if (inf.versions.empty() && !software) {
            for (const Finding& finding : unread.Take())
                found.AddSaid(finding);
        }
        for (const std::string& id : ids)
            result.idKeys.push_back(std::hash<std::string>()(id));
        result.infs.push_back(std::move(inf));
    }
    for (const Finding& finding : signing.findings)
        found.AddSaid(finding);
    if (package.hasF6File) {
        result.hasF6File = true;
        for (const Finding& finding : CheckF6File(package, how.readCatalogs).findings)
            found.AddSaid(finding);
    }
    result.findings = found.Take();
}
}  // namespace

FolderSurvey SurveyFolder(const std::string& root, const std::string& folder,
                          const SurveyReading& how) {
    FolderSurvey result;
    result.folder = folder;
    const std::string path = folder.empty() ? root : root + "/" + folder;
    PackageFiles files(how.reading.codePage);
    Package package;
    std::string error;
    // The files of its subfolders too, where an F6 file's disks and an INF's source paths lie.
    if (!files.List(path, error) ||
        !ReadDriverFolder(std::move(files), path, how.reading, package, error)) {
        result.findings.push_back(MakeFinding(Code::Unreadable, "", 0, error));
        return result;
    }
    Survey(package, how, result);
    return result;
}
