// Prints the result of keycheck txtsetup, for people or as one JSON document.
#include "tools/keycheck/report/txtsetup_report.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
void PrintList(const char* title, const std::vector<const Finding*>& list, std::ostream& out) {
    if (list.empty())
        return;
    out << "\n"
        << title << " (" << list.size() << "; text-mode setup of 2000 and XP reads the file):\n";
    for (const Finding* finding : list) {
        out << "  " << finding->file;
        if (finding->line > 0)
            out << ":" << finding->line;
        out << ": " << Shown(finding->text) << "\n";
    }
}

Json ListJson(const std::vector<const Finding*>& list) {
    Json versions = Json::array();
    for (OsType version : kF6Versions)
        versions.push_back(VersionOption(version));
    Json array = Json::array();
    for (const Finding* finding : list)
        array.push_back(Json{{"code", CodeName(finding->code)},
                             {"file", finding->file},
                             {"line", finding->line},
                             {"versions", versions},
                             {"text", JsonBytes(finding->text)}});
    return array;
}
}  // namespace

void PrintTxtSetupText(const std::string& folder, const F6Check& result, std::ostream& out) {
    out << "keycheck txtsetup " << folder << "\n";
    out << "TXTSETUP.OEM: " << Counted(result.ids.size(), "hardware ID", "hardware IDs")
        << " for the text-mode setup of Windows 2000 and XP (F6)\n";
    for (const std::string& id : result.ids)
        out << "  " << Shown(id) << "\n";
    out << (result.crossChecked
                ? "compared with key.ini and the models Windows 2000 and XP read\n"
                : "no key.ini in the folder: its IDs are not compared with key.ini and the "
                  "models\n");
    const std::vector<const Finding*> findings = OfSeverity(result.findings, Severity::Finding);
    const std::vector<const Finding*> warnings = OfSeverity(result.findings, Severity::Warning);
    PrintList("Findings", findings, out);
    PrintList("Warnings", warnings, out);
    out << "\nResult: ";
    if (result.findings.empty())
        out << "clean";
    else
        out << Counted(findings.size(), "finding", "findings") << ", "
            << Counted(warnings.size(), "warning", "warnings");
    out << "\n";
}

Json TxtSetupJson(const std::string& folder, const F6Check& result) {
    Json ids = Json::array();
    for (const std::string& id : result.ids)
        ids.push_back(JsonBytes(id));
    return Json{{"command", "txtsetup"},
                {"folder", folder},
                {"crossChecked", result.crossChecked},
                {"ids", ids},
                {"findings", ListJson(OfSeverity(result.findings, Severity::Finding))},
                {"warnings", ListJson(OfSeverity(result.findings, Severity::Warning))},
                {"exitStatus", ExitStatus(result.findings)}};
}

void PrintTxtSetupJson(const std::string& folder, const F6Check& result, std::ostream& out) {
    PrintJson(TxtSetupJson(folder, result), out);
}
