// keycheck xref: key.ini against the models each Windows version reads in the package's INF.
#include "tools/keycheck/xref/xref.h"

#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/pciid/pci_id.h"
#include "tools/keycheck/text/ascii_case.h"
#include "tools/keycheck/text/shown_text.h"
#include "tools/keycheck/xref/source_files.h"

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
            id.pci = named[i].size() >= 4 && AsciiUpper(named[i].substr(0, 4)) == "PCI\\";
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

void CheckEntries(XrefResult& result, const VersionXref& version, FindingList& collect) {
    const VersionInf& inf = version.inf;
    for (std::size_t e = 0; e < result.entries.size(); ++e) {
        const KeyEntryCheck& entry = result.entries[e];
        const std::vector<EntryCover>& covers = version.covers[e];
        if (covers.empty()) {
            collect.Add(MakeFinding(Code::EntryNotInstalled, kKeyFile, entry.line,
                                    Quoted(entry) +
                                        ": no models line installs a device whose key name "
                                        "holds it; the launcher would go ahead and Windows "
                                        "would find no driver"),
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
            collect.Add(MakeFinding(Code::EntryPartlyInstalled, kKeyFile, entry.line,
                                    Quoted(entry) + ": the models install only devices with " +
                                        limited + "; boards with other values get no driver"),
                        inf.version);
    }
}

void CheckModelIds(const XrefResult& result, const VersionInf& inf, const std::vector<LineId>& ids,
                   FindingList& collect) {
    for (const LineId& id : ids) {
        if (!id.pci)
            continue;
        const ModelLine& line = *id.line;
        if (!id.parsed) {
            collect.Add(
                MakeFinding(Code::BadPciId, line.file, line.line,
                            "\"" + id.id + "\" is not a PCI ID Windows reports for any device"),
                inf.version);
            continue;
        }
        if (NamesNoSingleDevice(id.parts)) {
            collect.Add(MakeFinding(Code::NoSingleDevice, line.file, line.line,
                                    id.id + " [" + line.section +
                                        "] names a class of devices, not one: no key.ini entry "
                                        "can list it, and gen leaves it out"),
                        inf.version);
            continue;
        }
        bool reached = false;
        for (const KeyEntryCheck& entry : result.entries)
            reached = reached || EntryReaches(entry.id, id.parts);
        if (!reached)
            collect.Add(MakeFinding(Code::IdNotListed, line.file, line.line,
                                    id.id + " [" + line.section +
                                        "]: no key.ini entry reaches it, so the launcher "
                                        "refuses such a board"),
                        inf.version);
    }
}
}  // namespace

XrefResult CrossCheck(const Package& package, bool readCatalogs) {
    XrefResult result;
    result.codePage = package.reading.codePage;
    FindingList collect;
    const KeyFile& keyFile = package.keyFile;
    result.keyFileFound = keyFile.found;
    if (!keyFile.found)
        collect.AddForAll(MakeFinding(Code::NoKeyFile, kKeyFile, 0,
                                      "key.ini cannot be read: the launcher installs on no "
                                      "version"));
    for (std::size_t i = 0; i < keyFile.table.size(); ++i) {
        if (keyFile.table[i].empty())
            continue;
        const KeyEntryCheck entry{static_cast<int>(i) + 1, keyFile.entries[i].line,
                                  keyFile.table[i], IsWholeDeviceEntry(keyFile.table[i])};
        result.entries.push_back(entry);
        if (!entry.whole)
            collect.AddForAll(MakeFinding(
                Code::PartialId, kKeyFile, entry.line,
                Quoted(entry) +
                    " is not a whole VEN_xxxx&DEV_xxxx[&SUBSYS_xxxxxxxx[&REV_xx]]: the launcher "
                    "takes any device key holding it, other makers' and other devices' too"));
    }

    for (const VersionInf& inf : package.infs)
        result.versions.push_back(VersionXref{inf, {}});
    // The covers point into the models lines, so they are made once the versions stay put.
    for (VersionXref& version : result.versions) {
        const VersionInf& inf = version.inf;
        for (const Finding& finding : inf.models.findings)
            collect.Add(finding, inf.version);
        version.covers.assign(result.entries.size(), {});
        if (!inf.models.readable)
            continue;
        for (const Finding& finding : MissingSourceFiles(package.files, inf))
            collect.Add(finding, inf.version);
        const std::vector<LineId> ids = LineIdsOf(inf);
        for (std::size_t e = 0; e < result.entries.size(); ++e)
            version.covers[e] = CoversOf(result.entries[e], inf, ids);
        CheckEntries(result, version, collect);
        CheckModelIds(result, inf, ids, collect);
    }
    // A driver disk's F6 file is read by the text-mode setup of 2000 and XP.
    for (const Finding& finding : CheckF6File(package, readCatalogs).findings) {
        for (OsType version : kF6Versions)
            collect.Add(finding, version);
    }
    result.signing = CheckPackageSigning(package, readCatalogs);
    for (const Finding& finding : result.signing.findings)
        collect.AddSaid(finding);
    result.findings = collect.Take();
    return result;
}
