// Prints the result of keycheck txtsetup, for people or as one JSON document.
#include "tools/keycheck/report/txtsetup_report.h"

#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
void PrintList(const char* title, const TxtSetupResult& result, bool warnings, std::ostream& out) {
    std::size_t count = 0;
    for (const TxtSetupFinding& finding : result.findings)
        count += finding.warning == warnings ? 1 : 0;
    if (count == 0)
        return;
    out << "\n" << title << " (" << count << "; text-mode setup of 2000 and XP reads the file):\n";
    for (const TxtSetupFinding& finding : result.findings) {
        if (finding.warning != warnings)
            continue;
        out << "  " << finding.file;
        if (finding.line > 0)
            out << ":" << finding.line;
        out << ": " << Shown(finding.text) << "\n";
    }
}

Json FindingsJson(const TxtSetupResult& result, bool warnings) {
    Json list = Json::array();
    for (const TxtSetupFinding& finding : result.findings) {
        if (finding.warning == warnings)
            list.push_back(Json{{"code", finding.code},
                                {"file", finding.file},
                                {"line", finding.line},
                                {"versions", Json::array({"2000", "xp"})},
                                {"text", JsonBytes(finding.text)}});
    }
    return list;
}
}  // namespace

int TxtSetupStatus(const TxtSetupResult& result) {
    for (const TxtSetupFinding& finding : result.findings) {
        if (!finding.warning)
            return 1;
    }
    return 0;
}

void PrintTxtSetupText(const std::string& folder, const TxtSetupResult& result, std::ostream& out) {
    out << "keycheck txtsetup " << folder << "\n";
    out << "TXTSETUP.OEM: " << Counted(result.ids.size(), "hardware ID", "hardware IDs")
        << " for the text-mode setup of Windows 2000 and XP (F6)\n";
    for (const std::string& id : result.ids)
        out << "  " << Shown(id) << "\n";
    out << (result.crossChecked
                ? "compared with key.ini and the models Windows 2000 and XP read\n"
                : "no key.ini in the folder: its IDs are not compared with key.ini and the "
                  "models\n");
    PrintList("Findings", result, false, out);
    PrintList("Warnings", result, true, out);
    out << "\nResult: ";
    std::size_t warnings = 0;
    for (const TxtSetupFinding& finding : result.findings)
        warnings += finding.warning ? 1 : 0;
    if (result.findings.empty())
        out << "clean";
    else
        out << Counted(result.findings.size() - warnings, "finding", "findings") << ", "
            << Counted(warnings, "warning", "warnings");
    out << "\n";
}

void PrintTxtSetupJson(const std::string& folder, const TxtSetupResult& result, std::ostream& out) {
    Json ids = Json::array();
    for (const std::string& id : result.ids)
        ids.push_back(JsonBytes(id));
    PrintJson(Json{{"command", "txtsetup"},
                   {"folder", folder},
                   {"crossChecked", result.crossChecked},
                   {"ids", ids},
                   {"findings", FindingsJson(result, false)},
                   {"warnings", FindingsJson(result, true)},
                   {"exitStatus", TxtSetupStatus(result)}},
              out);
}
