// keycheck xref: key.ini against the models each Windows version reads in the package's INF.
#include "tools/keycheck/xref/xref.h"

#include "sim/fake_os.h"
#include "sim/windows_versions.h"
#include "tools/keycheck/inf/inf_text.h"
#include "tools/keycheck/package/package_lint.h"
#include "tools/keycheck/text/shown_text.h"
#include "tools/keycheck/txtsetup/txtsetup_check.h"
#include "tools/keycheck/xref/package_files.h"
#include "tools/keycheck/xref/pci_id_form.h"

#include <iterator>
#include <map>
#include <tuple>

namespace {
const char* const kKeyFile = "key.ini";

// One ID a models line names, taken apart once for all the checks of a version.
struct LineId {
    const ModelLine* line;
    std::string id;
    bool lineCompatibleId;  // one of the line's compatible IDs, not its hardware ID
    bool pci;               // starts with "PCI\"
    bool parsed;            // a PCI ID of a form Windows reports
    PciIdParts parts;
};

std::vector<LineId> LineIdsOf(const VersionInf& inf) {
    std::vector<LineId> ids;
    for (const ModelLine& line : inf.models.lines) {
        std::vector<std::string> named{line.hardwareId};
        named.insert(named.end(), line.compatibleIds.begin(), line.compatibleIds.end());
        for (std::size_t i = 0; i < named.size(); ++i) {
            LineId id{&line, named[i], i > 0, false, false, {}};
            id.pci = named[i].size() >= 4 && InfUpper(named[i].substr(0, 4)) == "PCI\\";
            id.parsed = ParsePciId(named[i], id.parts);
            ids.push_back(std::move(id));
        }
    }
    return ids;
}

// The entry's bytes shown in ASCII, so that a finding's text is plain text whatever key.ini holds.
std::string Quoted(const KeyEntryCheck& entry) {
    return "#" + std::to_string(entry.number) + " \"" + Shown(entry.id) + "\"";
}

std::vector<EntryCover> CoversOf(const KeyEntryCheck& entry, const VersionInf& inf,
                                 const std::vector<LineId>& ids) {
    std::vector<EntryCover> covers;
    for (const LineId& id : ids) {
        if (id.parsed && EntryReaches(entry.id, id.parts))
            covers.push_back(EntryCover{id.line, id.id, PciIdKind(id.parts, inf.version),
                                        id.lineCompatibleId,
                                        entry.whole && EntryFullyCovered(entry.id, id.parts)});
    }
    return covers;
}

enum class Severity { Finding, Warning, Note };

// Gathers findings and warnings; one said again for another version is kept once, naming
// each version it holds for.
class Collector {
public:
    explicit Collector(XrefResult& result) : m_result(result) {}

    void Add(Severity severity, const std::string& code, const std::string& file, int line,
             const std::string& text, OsType version) {
        std::vector<XrefFinding>& list = ListOf(severity);
        // drv\hx5820.inf and Drv\hx5820.inf are one file on Windows.
        const Key key{severity, code, InfUpper(file), line, InfUpper(text)};
        const auto found = m_seen.emplace(key, Place{list.size(), 0});
        if (found.second)
            list.push_back(XrefFinding{code, file, line, {}, text});
        found.first->second.versions |= VersionBit(version);
    }
    void Add(const InfFinding& finding, OsType version) {
        Add(finding.warning ? Severity::Warning : Severity::Finding, finding.code, finding.file,
            finding.line, finding.text, version);
    }
    void AddForAll(const std::string& code, int line, const std::string& text) {
        for (OsType version : kInfVersions)
            Add(Severity::Finding, code, kKeyFile, line, text, version);
    }

    // Writes each finding's versions, in the order of kInfVersions; none when all four.
    void Finish() {
        for (const auto& seen : m_seen) {
            XrefFinding& finding = ListOf(std::get<0>(seen.first))[seen.second.index];
            if (seen.second.versions == (1u << std::size(kInfVersions)) - 1)
                continue;
            for (OsType version : kInfVersions) {
                if (seen.second.versions & VersionBit(version))
                    finding.versions.push_back(VersionOption(version));
            }
        }
    }

private:
    std::vector<XrefFinding>& ListOf(Severity severity) {
        switch (severity) {
        case Severity::Warning:
            return m_result.warnings;
        case Severity::Note:
            return m_result.notes;
        default:
            return m_result.findings;
        }
    }
    static unsigned VersionBit(OsType version) {
        unsigned bits = 0;
        for (std::size_t i = 0; i < std::size(kInfVersions); ++i) {
            if (version == kInfVersions[i])
                bits |= 1u << i;
        }
        return bits;
    }
    using Key = std::tuple<Severity, std::string, std::string, int, std::string>;
    struct Place {
        std::size_t index;
        unsigned versions;
    };

    XrefResult& m_result;
    std::map<Key, Place> m_seen;
};

void CheckEntries(XrefResult& result, const VersionXref& version, Collector& collect) {
    const VersionInf& inf = version.inf;
    for (std::size_t e = 0; e < result.entries.size(); ++e) {
        const KeyEntryCheck& entry = result.entries[e];
        const std::vector<EntryCover>& covers = version.covers[e];
        if (covers.empty()) {
            collect.Add(Severity::Finding, "entry-not-installed", kKeyFile, entry.line,
                        Quoted(entry) +
                            ": no models line installs a device whose key name holds it; the "
                            "launcher would go ahead and Windows would find no driver",
                        inf.version);
            continue;
        }
        bool complete = !entry.whole;
        std::string limited;
        for (const EntryCover& cover : covers) {
            PciIdParts parts;
            ParsePciId(cover.id, parts);
            complete = complete || cover.complete;
            const std::string limit = PciIdLimits(parts);
            if (limited.find(limit) == std::string::npos)
                limited += (limited.empty() ? "" : " or ") + limit;
        }
        if (!complete)
            collect.Add(Severity::Warning, "entry-partly-installed", kKeyFile, entry.line,
                        Quoted(entry) + ": the models install only devices with " + limited +
                            "; boards with other values get no driver",
                        inf.version);
    }
}

void CheckModelIds(const XrefResult& result, const VersionInf& inf, const std::vector<LineId>& ids,
                   Collector& collect) {
    for (const LineId& id : ids) {
        if (!id.pci)
            continue;
        const ModelLine& line = *id.line;
        if (!id.parsed) {
            collect.Add(Severity::Finding, "bad-pci-id", line.file, line.line,
                        "\"" + id.id + "\" is not a PCI ID Windows reports for any device",
                        inf.version);
            continue;
        }
        if (NamesNoSingleDevice(id.parts)) {
            collect.Add(Severity::Note, "no-single-device", line.file, line.line,
                        id.id + " [" + line.section +
                            "] names a class of devices, not one: no key.ini entry can list it, "
                            "and gen leaves it out",
                        inf.version);
            continue;
        }
        bool reached = false;
        for (const KeyEntryCheck& entry : result.entries)
            reached = reached || EntryReaches(entry.id, id.parts);
        if (!reached)
            collect.Add(Severity::Finding, "id-not-listed", line.file, line.line,
                        id.id + " [" + line.section +
                            "]: no key.ini entry reaches it, so the launcher refuses such a board",
                        inf.version);
    }
}
}  // namespace

const char* VersionOption(OsType version) {
    return WindowsVersionInstalledAs(version)->option;
}

XrefResult CrossCheck(CFakeOs& machine, const std::string& dir, int language) {
    XrefResult result;
    result.codePage = machine.CodePage();
    Collector collect(result);
    const LintResult lint = LintPackage(machine, dir);
    result.keyFileFound = lint.keyFileFound;
    if (!lint.keyFileFound)
        collect.AddForAll("no-key-file", 0,
                          "key.ini cannot be read: the launcher installs on no version");
    for (std::size_t i = 0; i < lint.table.size(); ++i) {
        if (lint.table[i].empty())
            continue;
        const KeyEntryCheck entry{static_cast<int>(i) + 1, lint.entries[i].line, lint.table[i],
                                  IsWholeDeviceEntry(lint.table[i])};
        result.entries.push_back(entry);
        if (!entry.whole)
            collect.AddForAll("partial-id", entry.line,
                              Quoted(entry) +
                                  " is not a whole VEN_xxxx&DEV_xxxx[&SUBSYS_xxxxxxxx[&REV_xx]]: "
                                  "the launcher takes any device key holding it, other makers' "
                                  "and other devices' too");
    }

    for (OsType version : kInfVersions) {
        VersionXref checked{ReadVersionInf(machine, dir, version, language), {}};
        result.versions.push_back(checked);
    }
    // The covers point into the models lines, so they are made once the versions stay put.
    for (VersionXref& version : result.versions) {
        const VersionInf& inf = version.inf;
        for (const InfFinding& finding : inf.models.findings)
            collect.Add(finding, inf.version);
        version.covers.assign(result.entries.size(), {});
        if (!inf.models.readable)
            continue;
        for (const InfFinding& finding : MissingPackageFiles(machine, dir, inf))
            collect.Add(finding, inf.version);
        const std::vector<LineId> ids = LineIdsOf(inf);
        for (std::size_t e = 0; e < result.entries.size(); ++e)
            version.covers[e] = CoversOf(result.entries[e], inf, ids);
        CheckEntries(result, version, collect);
        CheckModelIds(result, inf, ids, collect);
    }
    // A driver disk's F6 file is read by the text-mode setup of 2000 and XP, and compared with
    // the key.ini and the models read above.
    TxtSetupLists lists{lint.keyFileFound, lint.table, {}};
    for (const VersionXref& version : result.versions) {
        if (!IsNtVersion(version.inf.version))
            continue;
        for (const ModelLine& line : version.inf.models.lines) {
            lists.modelIds.push_back(line.hardwareId);
            lists.modelIds.insert(lists.modelIds.end(), line.compatibleIds.begin(),
                                  line.compatibleIds.end());
        }
    }
    for (const TxtSetupFinding& finding : CheckTxtSetup(machine, dir, &lists).findings) {
        for (OsType version : {OS_WIN2000, OS_WINXP})
            collect.Add(finding.warning ? Severity::Warning : Severity::Finding, finding.code,
                        finding.file, finding.line, finding.text, version);
    }
    collect.Finish();
    return result;
}
