// The files an INF names, as a version reads it.
#include "tools/keycheck/package/inf_files.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <map>
#include <unordered_set>

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

// The install section a models line names, with the platform extension the version looks for
// first: .NTx86, then .NT on the NT family; the undecorated one on 9x.
const InfSection* InstallSection(const VersionInf& inf, const std::string& name) {
    if (IsNtVersion(inf.version)) {
        for (const char* extension : {".NTx86", ".NT"}) {
            if (const InfSection* section = inf.file->Section(name + extension))
                return section;
        }
    }
    return inf.file->Section(name);
}

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    const std::string upper = AsciiUpper(name);
    if (!name.empty() && std::none_of(names.begin(), names.end(), [&](const std::string& known) {
            return AsciiUpper(known) == upper;
        }))
        names.push_back(name);
}
}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

CatalogName CatalogOf(const VersionInf& inf) {
    CatalogName found;
    const InfSection* version = inf.file->Section("Version");
    if (version == nullptr)
        return found;
    // The most decorated key the version reads wins, wherever it stands in the section.
    int best = -1;
    for (const InfLine& entry : version->lines) {
        if (!entry.hasKey || entry.fields.empty() || entry.fields[0].empty())
            continue;
        const std::string key = AsciiUpper(entry.key);
        const int rank = key == "CATALOGFILE"                                     ? 0
                         : IsNtVersion(inf.version) && key == "CATALOGFILE.NT"    ? 1
                         : IsNtVersion(inf.version) && key == "CATALOGFILE.NTX86" ? 2
                                                                                  : -1;
        if (rank > best) {
            best = rank;
            found = CatalogName{entry.fields[0], FolderOf(inf.path) + entry.fields[0], entry.line};
        }
    }
    return found;
}

std::vector<SourceFile> SourceFiles(const VersionInf& inf) {
    std::map<std::string, std::string> diskPaths;
    if (const InfSection* disks = PlatformSection(inf, "SourceDisksNames")) {
        for (const InfLine& entry : disks->lines) {
            if (entry.hasKey)
                diskPaths[entry.key] = entry.fields.size() > 3 ? entry.fields[3] : "";
        }
    }
    std::vector<SourceFile> files;
    const InfSection* listed = PlatformSection(inf, "SourceDisksFiles");
    for (const InfLine& entry : listed == nullptr ? std::vector<InfLine>() : listed->lines) {
        SourceFile file;
        file.name = entry.hasKey ? entry.key : entry.fields[0];
        file.line = entry.line;
        file.disk = entry.hasKey ? entry.fields[0] : "";
        const auto found = diskPaths.find(file.disk);
        file.knownDisk = found != diskPaths.end();
        if (file.knownDisk) {
            const std::string subdir = entry.fields.size() > 1 ? entry.fields[1] : "";
            file.path = Join(Join(FolderOf(inf.path), found->second), subdir) + file.name;
        }
        files.push_back(file);
    }
    return files;
}

std::vector<std::string> CopiedFiles(const VersionInf& inf) {
    std::vector<std::string> names;
    std::vector<std::string> sectionsRead;
    // Most models lines share an install section, whose files are the same each time.
    std::unordered_set<std::string> namesRead;
    std::unordered_set<const InfSection*> installsRead;
    for (const ModelLine& line : inf.models.lines) {
        if (!namesRead.insert(line.installSection).second)
            continue;
        const InfSection* install = InstallSection(inf, line.installSection);
        if (install == nullptr || !installsRead.insert(install).second)
            continue;
        for (const InfLine& entry : install->lines) {
            if (!entry.hasKey || AsciiUpper(entry.key) != "COPYFILES")
                continue;
            for (const std::string& value : entry.fields) {
                if (!value.empty() && value[0] == '@') {
                    AddOnce(names, value.substr(1));
                    continue;
                }
                const InfSection* list = inf.file->Section(value);
                if (list == nullptr || std::find(sectionsRead.begin(), sectionsRead.end(),
                                                 AsciiUpper(value)) != sectionsRead.end())
                    continue;
                sectionsRead.push_back(AsciiUpper(value));
                for (const InfLine& file : list->lines) {
                    // "destination[,source]": the source's name where it is given.
                    const std::vector<std::string>& fields = file.fields;
                    AddOnce(names, fields.size() > 1 && !fields[1].empty() ? fields[1] : fields[0]);
                }
            }
        }
    }
    return names;
}

bool HasNtInstallSection(const VersionInf& inf, const std::string& name) {
    return inf.file->Section(name + ".NTx86") != nullptr ||
           inf.file->Section(name + ".NT") != nullptr;
}

namespace {
// "date,version" of a section's DriverVer entry, or "".
std::string DriverVerIn(const InfSection* section) {
    for (const InfLine& entry : section == nullptr ? std::vector<InfLine>() : section->lines) {
        if (entry.hasKey && AsciiUpper(entry.key) == "DRIVERVER" && !entry.fields.empty())
            return entry.fields[0] + (entry.fields.size() > 1 ? "," + entry.fields[1] : "");
    }
    return "";
}
}  // namespace

std::string FileDriverVer(const InfFile& file) {
    return DriverVerIn(file.Section("Version"));
}

std::string DriverVerOf(const VersionInf& inf, const ModelLine& line) {
    const std::string own = DriverVerIn(InstallSection(inf, line.installSection));
    return own.empty() ? FileDriverVer(*inf.file) : own;
}

// The INF files of a driver folder: at its root and in drv\, ending in .inf.
std::vector<const PackageFile*> FolderInfs(const PackageFiles& files) {
    std::vector<const PackageFile*> infs;
    for (const PackageFile& file : files.All()) {
        const std::string upper = AsciiUpper(file.path);
        const std::size_t slash = upper.rfind('\\');
        const bool placed =
            slash == std::string::npos || (slash == 3 && upper.compare(0, 4, "DRV\\") == 0);
        if (placed && upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".INF") == 0)
            infs.push_back(&file);
    }
    return infs;
}
