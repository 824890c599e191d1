// keycheck xref: key.ini against the models each Windows version reads in the package's INF.
#include "tools/keycheck/xref/xref.h"

#include "sim/fake_os.h"
#include "tools/keycheck/inf/inf_text.h"
#include "tools/keycheck/package/package_lint.h"
#include "tools/keycheck/report/shown_text.h"
#include "tools/keycheck/xref/package_files.h"
#include "tools/keycheck/xref/pci_id_form.h"

#include <iterator>

namespace {
const char* const kKeyFile = "key.ini";

std::vector<std::string> LineIds(const ModelLine& line) {
    std::vector<std::string> ids{line.hardwareId};
    ids.insert(ids.end(), line.compatibleIds.begin(), line.compatibleIds.end());
    return ids;
}

// The entry's bytes shown in ASCII, so that a finding's text is plain text whatever key.ini holds.
std::string Quoted(const KeyEntryCheck& entry) {
    return "#" + std::to_string(entry.number) + " \"" + Shown(entry.id) + "\"";
}

std::vector<EntryCover> CoversOf(const KeyEntryCheck& entry, const VersionInf& inf) {
    std::vector<EntryCover> covers;
    for (const ModelLine& line : inf.models.lines) {
        const std::vector<std::string> ids = LineIds(line);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            PciIdParts parts;
            if (ParsePciId(ids[i], parts) && EntryReaches(entry.id, parts))
                covers.push_back(EntryCover{&line, ids[i], PciIdKind(parts, inf.version), i > 0,
                                            entry.whole && EntryFullyCovered(entry.id, parts)});
        }
    }
    return covers;
}

class Collector {
public:
    explicit Collector(XrefResult& result) : m_result(result) {}

    // Adds a finding or warning; the same one for several versions is kept once.
    void Add(bool warning, const std::string& code, const std::string& file, int line,
             const std::string& text, OsType version) {
        std::vector<XrefFinding>& list = warning ? m_result.warnings : m_result.findings;
        for (XrefFinding& finding : list) {
            // drv\hx5820.inf and Drv\hx5820.inf are one file on Windows.
            if (finding.code == code && InfUpper(finding.file) == InfUpper(file) &&
                finding.line == line && InfUpper(finding.text) == InfUpper(text)) {
                finding.versions.push_back(VersionOption(version));
                return;
            }
        }
        list.push_back(XrefFinding{code, file, line, {VersionOption(version)}, text});
    }
    void AddForAll(const std::string& code, int line, const std::string& text) {
        m_result.findings.push_back(XrefFinding{code, kKeyFile, line, {}, text});
    }

private:
    XrefResult& m_result;
};

void CheckEntries(XrefResult& result, const VersionXref& version, Collector& collect) {
    const VersionInf& inf = version.inf;
    for (std::size_t e = 0; e < result.entries.size(); ++e) {
        const KeyEntryCheck& entry = result.entries[e];
        const std::vector<EntryCover>& covers = version.covers[e];
        if (covers.empty()) {
            collect.Add(false, "entry-not-installed", kKeyFile, entry.line,
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
            collect.Add(true, "entry-partly-installed", kKeyFile, entry.line,
                        Quoted(entry) + ": the models install only devices with " + limited +
                            "; boards with other values get no driver",
                        inf.version);
    }
}

void CheckModelIds(const XrefResult& result, const VersionInf& inf, Collector& collect) {
    for (const ModelLine& line : inf.models.lines) {
        for (const std::string& id : LineIds(line)) {
            PciIdParts parts;
            if (id.size() < 4 || InfUpper(id.substr(0, 4)) != "PCI\\")
                continue;
            if (!ParsePciId(id, parts)) {
                collect.Add(false, "bad-pci-id", line.file, line.line,
                            "\"" + id + "\" is not a PCI ID Windows reports for any device",
                            inf.version);
                continue;
            }
            bool reached = false;
            for (const KeyEntryCheck& entry : result.entries)
                reached = reached || EntryReaches(entry.id, parts);
            if (!reached)
                collect.Add(false, "id-not-listed", line.file, line.line,
                            id + " [" + line.section +
                                "]: no key.ini entry reaches it, so the launcher refuses such "
                                "a board",
                            inf.version);
        }
    }
}
}  // namespace

const char* VersionOption(OsType version) {
    switch (version) {
    case OS_WIN98SE:
        return "98se";
    case OS_WINME:
        return "me";
    case OS_WIN2000:
        return "2000";
    default:
        return "xp";
    }
}

XrefResult CrossCheck(CFakeOs& machine, const std::string& dir) {
    XrefResult result;
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
        VersionXref checked{ReadVersionInf(machine, dir, version), {}};
        result.versions.push_back(checked);
    }
    // The covers point into the models lines, so they are made once the versions stay put.
    for (VersionXref& version : result.versions) {
        const VersionInf& inf = version.inf;
        for (const InfFinding& finding : inf.models.findings)
            collect.Add(false, finding.code, finding.file, finding.line, finding.text, inf.version);
        version.covers.assign(result.entries.size(), {});
        if (!inf.models.readable)
            continue;
        for (const InfFinding& finding : MissingPackageFiles(machine, dir, inf))
            collect.Add(false, finding.code, finding.file, finding.line, finding.text, inf.version);
        for (std::size_t e = 0; e < result.entries.size(); ++e)
            version.covers[e] = CoversOf(result.entries[e], inf);
        CheckEntries(result, version, collect);
        CheckModelIds(result, inf, collect);
    }
    for (auto* list : {&result.findings, &result.warnings}) {
        for (XrefFinding& finding : *list) {
            if (finding.versions.size() == std::size(kInfVersions))
                finding.versions.clear();
        }
    }
    return result;
}
