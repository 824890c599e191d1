// keycheck xref's report for people: per Windows version, which lines install each entry.
#include "tools/keycheck/report/xref_report.h"

#include "tools/keycheck/text/shown_text.h"

namespace {
std::string VersionsNote(const Finding& finding) {
    if (finding.versions.empty())
        return "";
    std::string note;
    for (const std::string& version : finding.versions)
        note += (note.empty() ? " [" : ", ") + version;
    return note + "]";
}

void PrintList(const char* title, const std::vector<const Finding*>& list, std::ostream& out) {
    if (list.empty())
        return;
    out << "\n"
        << title << " (" << list.size() << "; for the versions in brackets, else all four):\n";
    for (const Finding* finding : list) {
        out << "  " << finding->file;
        if (finding->line > 0)
            out << ":" << finding->line;
        out << ": " << finding->text << VersionsNote(*finding) << "\n";
    }
}

std::string SectionList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "[" : ", [") + name + "]";
    return list;
}

void PrintVersion(const XrefResult& result, const VersionXref& version, std::ostream& out) {
    const VersionInf& inf = version.inf;
    out << "\n" << inf.label << ": " << inf.path << ", " << inf.use << "\n";
    if (!inf.models.readable) {
        out << "  not read as a device INF (see the findings)\n";
        return;
    }
    if (inf.models.sections.empty()) {
        out << "  reads no models section (see the findings)\n";
    } else {
        out << "  models " << SectionList(inf.models.sections) << ": "
            << Counted(inf.models.lines.size(), "line", "lines") << "\n";
    }
    for (const InfSigning& signing : result.signing.infs) {
        if (signing.version == inf.version)
            out << "  signature: " << signing.verdict << "\n";
    }
    // Said where there was a choice: a [Strings.LanguageID] section picked for the language.
    const std::vector<std::string>& strings = inf.file->stringsRead;
    if (strings.size() > 1 || (strings.size() == 1 && strings[0].size() > 7))
        out << "  strings " << SectionList(strings) << "\n";
    for (std::size_t e = 0; e < result.entries.size(); ++e) {
        const KeyEntryCheck& entry = result.entries[e];
        out << "  #" << entry.number << " \"" << Shown(entry.id, result.codePage) << "\"\n";
        if (version.covers[e].empty())
            out << "      no line installs it\n";
        for (const EntryCover& cover : version.covers[e]) {
            out << "      " << cover.line->file << ":" << cover.line->line << " ["
                << cover.line->section << "] " << cover.id << " ("
                << DeviceIdKindName(cover.deviceKind)
                << (cover.lineCompatibleId ? ", the line's compatible ID" : "") << ") \""
                << cover.line->description << "\"\n";
        }
    }
}
}  // namespace

void PrintXrefText(const std::string& package, const XrefResult& result, std::ostream& out) {
    out << "keycheck xref " << package << "\n";
    if (result.keyFileFound) {
        out << "key.ini: " << Counted(result.entries.size(), "entry", "entries")
            << " as the launcher reads them\n";
        for (const KeyEntryCheck& entry : result.entries)
            out << "  #" << entry.number << " \"" << Shown(entry.id, result.codePage)
                << "\"  (line " << entry.line << ")\n";
    }
    for (const VersionXref& version : result.versions)
        PrintVersion(result, version, out);
    const std::vector<const Finding*> findings = OfSeverity(result.findings, Severity::Finding);
    const std::vector<const Finding*> warnings = OfSeverity(result.findings, Severity::Warning);
    PrintList("Findings", findings, out);
    PrintList("Warnings", warnings, out);
    PrintList("Notes", OfSeverity(result.findings, Severity::Note), out);
    out << "\nResult: ";
    if (findings.empty() && warnings.empty())
        out << "clean";
    else
        out << Counted(findings.size(), "finding", "findings") << ", "
            << Counted(warnings.size(), "warning", "warnings");
    out << "\n";
}
