// keycheck xref's JSON document: the same as the text report, for programs.
#include "tools/keycheck/report/xref_report.h"

#include "tools/keycheck/report/catalog_report.h"
#include "tools/keycheck/report/json_text.h"

#include "tools/keycheck/findings/checked_versions.h"

Json FindingsJson(const std::vector<const Finding*>& list) {
    Json array = Json::array();
    for (const Finding* finding : list) {
        array.push_back({{"code", CodeName(finding->code)},
                         {"file", finding->file},
                         {"line", finding->line > 0 ? Json(finding->line) : Json(nullptr)},
                         {"versions", finding->versions},
                         {"text", finding->text}});
    }
    return array;
}

namespace {
Json Signing(const XrefResult& result, OsType version) {
    for (const InfSigning& signing : result.signing.infs) {
        if (signing.version == version)
            return SigningJson(signing);
    }
    return nullptr;
}

Json LineJson(const ModelLine& line) {
    return {{"file", line.file},
            {"line", line.line},
            {"section", line.section},
            {"description", line.description},
            {"installSection", line.installSection},
            {"hardwareId", line.hardwareId},
            {"compatibleIds", line.compatibleIds}};
}

Json VersionJson(const XrefResult& result, const VersionXref& version) {
    const VersionInf& inf = version.inf;
    Json lines = Json::array();
    for (const ModelLine& line : inf.models.lines)
        lines.push_back(LineJson(line));
    Json entries = Json::array();
    for (std::size_t e = 0; e < result.entries.size(); ++e) {
        Json covers = Json::array();
        for (const EntryCover& cover : version.covers[e]) {
            covers.push_back({{"file", cover.line->file},
                              {"line", cover.line->line},
                              {"id", cover.id},
                              {"deviceKind", DeviceIdKindName(cover.deviceKind)},
                              {"lineCompatibleId", cover.lineCompatibleId},
                              {"complete", cover.complete}});
        }
        entries.push_back({{"number", result.entries[e].number}, {"covers", covers}});
    }
    return {{"version", VersionOption(inf.version)},
            {"label", inf.label},
            {"inf", inf.path},
            {"use", inf.use},
            {"found", inf.found},
            {"encoding", inf.file->encoding == InfEncoding::Utf16Le ? "UTF-16LE" : "ANSI"},
            {"readable", inf.models.readable},
            {"modelsSections", inf.models.sections},
            {"stringsSections", inf.file->stringsRead},
            {"lines", lines},
            {"entries", entries},
            {"signing", Signing(result, inf.version)}};
}
}  // namespace

Json XrefJson(const std::string& package, const XrefResult& result) {
    Json entries = Json::array();
    for (const KeyEntryCheck& entry : result.entries) {
        entries.push_back({{"number", entry.number},
                           {"line", entry.line},
                           {"id", JsonBytes(entry.id)},
                           {"whole", entry.whole}});
    }
    Json versions = Json::array();
    for (const VersionXref& version : result.versions)
        versions.push_back(VersionJson(result, version));
    return {{"command", "xref"},
            {"package", JsonBytes(package)},
            {"keyFile", {{"found", result.keyFileFound}, {"entries", entries}}},
            {"versions", versions},
            {"findings", FindingsJson(OfSeverity(result.findings, Severity::Finding))},
            {"warnings", FindingsJson(OfSeverity(result.findings, Severity::Warning))},
            {"notes", FindingsJson(OfSeverity(result.findings, Severity::Note))},
            {"exitStatus", ExitStatus(result.findings)}};
}

void PrintXrefJson(const std::string& package, const XrefResult& result, std::ostream& out) {
    PrintJson(XrefJson(package, result), out);
}
