// The reports of keycheck survey.
#include "tools/keycheck/report/survey_report.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/xref_report.h"

namespace {
Json Versions(const std::vector<OsType>& versions) {
    Json list = Json::array();
    for (OsType version : versions)
        list.push_back(VersionOption(version));
    return list;
}

Json ByCode(const std::map<std::string, std::size_t>& counts) {
    Json object = Json::object();
    for (const auto& count : counts)
        object[count.first] = count.second;
    return object;
}
}  // namespace

void PrintSurveyFolderJson(const FolderSurvey& folder, std::ostream& out) {
    Json infs = Json::array();
    for (const SurveyedInf& inf : folder.infs) {
        Json ids = Json::array();
        for (const std::string& id : inf.ids)
            ids.push_back(JsonBytes(id));
        infs.push_back(Json{{"file", JsonBytes(inf.file)},
                            {"signature", JsonBytes(inf.signature)},
                            {"class", JsonBytes(inf.className)},
                            {"provider", JsonBytes(inf.provider)},
                            {"driverVer", JsonBytes(inf.driverVer)},
                            {"versions", Versions(inf.versions)},
                            {"modelLines", inf.modelLines},
                            {"ids", ids}});
    }
    PrintJson(Json{{"folder", JsonBytes(folder.folder)},
                   {"infs", infs},
                   {"f6File", folder.hasF6File},
                   {"findings", FindingsJson(OfSeverity(folder.findings, Severity::Finding))},
                   {"warnings", FindingsJson(OfSeverity(folder.findings, Severity::Warning))}},
              out);
}

void PrintSurveySummaryJson(const SurveySummary& summary, std::ostream& out) {
    Json readBy = Json::object();
    for (OsType version : kInfVersions) {
        const auto found = summary.infsReadBy.find(version);
        readBy[VersionOption(version)] = found == summary.infsReadBy.end() ? 0 : found->second;
    }
    Json worst = Json::array();
    for (const auto& folder : summary.Worst())
        worst.push_back(Json{{"folder", JsonBytes(folder.second)}, {"findings", folder.first}});
    PrintJson(Json{{"summary", Json{{"folders", summary.folders},
                                    {"infs", summary.infs},
                                    {"f6Files", summary.f6Files},
                                    {"infsReadBy", readBy},
                                    {"ids", summary.Ids()},
                                    {"findings", ByCode(summary.findingsByCode)},
                                    {"warnings", ByCode(summary.warningsByCode)},
                                    {"worst", worst}}}},
              out);
}

void PrintSurveyText(const std::string& library, const SurveySummary& summary, std::ostream& out) {
    out << "keycheck survey " << library << "\n"
        << "  " << summary.folders << " folders with an INF or TXTSETUP.OEM, " << summary.infs
        << " INFs, " << summary.f6Files << " F6 files, " << summary.Ids()
        << " distinct device IDs\n  INFs each version reads:";
    for (OsType version : kInfVersions) {
        const auto found = summary.infsReadBy.find(version);
        out << " " << VersionOption(version) << " "
            << (found == summary.infsReadBy.end() ? 0 : found->second);
    }
    out << "\n";
    for (const auto* counts : {&summary.findingsByCode, &summary.warningsByCode}) {
        if (counts->empty())
            continue;
        out << "\n"
            << (counts == &summary.findingsByCode ? "Findings" : "Warnings") << " by code:\n";
        for (const auto& count : *counts)
            out << "  " << count.first << "  " << count.second << "\n";
    }
    if (!summary.Worst().empty()) {
        out << "\nThe folders with the most findings (--json lists each):\n";
        for (const auto& folder : summary.Worst())
            out << "  " << folder.first << "  " << (folder.second.empty() ? "." : folder.second)
                << "\n";
    }
    std::size_t findings = 0, warnings = 0;
    for (const auto& count : summary.findingsByCode)
        findings += count.second;
    for (const auto& count : summary.warningsByCode)
        warnings += count.second;
    out << "\nResult: " << findings << " findings, " << warnings << " warnings\n";
}
