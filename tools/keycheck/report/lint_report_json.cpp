// Prints the result of keycheck lint as one JSON document.
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/lint_report.h"

namespace {
Json EntryJson(const LintResult& result, std::size_t i) {
    const KeyEntry& entry = result.entries[i];
    const bool kept = i < result.table.size();
    return Json{{"number", i + 1},
                {"offset", entry.valueOffset},
                {"line", entry.line},
                {"name", JsonBytes(entry.name)},
                {"value", JsonBytes(entry.value)},
                // What the launcher's table holds for it; null past the 40th.
                {"kept", JsonBytesOrNull(kept, kept ? result.table[i] : std::string())}};
}

Json KeyFileJson(const LintResult& result) {
    Json keyFile{{"found", result.keyFileFound}};
    if (result.keyFileFound) {
        keyFile["size"] = result.keyFileSize;
        keyFile["bytesRead"] = result.keyText.size();
        Json entries = Json::array();
        for (std::size_t i = 0; i < result.entries.size(); ++i)
            entries.push_back(EntryJson(result, i));
        keyFile["entries"] = entries;
    }
    return keyFile;
}

Json FilesJson(const LintResult& result) {
    Json files = Json::array();
    for (const PackageFileCheck& file : result.files)
        files.push_back(Json{
            {"path", JsonBytes(file.path)}, {"usedBy", file.usedBy}, {"present", file.present}});
    return files;
}

Json FindingsJson(const LintResult& result) {
    Json findings = Json::array();
    for (const LintFinding& finding : result.findings) {
        const bool placed = finding.offset >= 0;
        findings.push_back(
            Json{{"code", finding.code},
                 {"offset", placed ? Json(finding.offset) : Json(nullptr)},
                 {"line", placed ? Json(LineAt(result.keyText, finding.offset)) : Json(nullptr)},
                 {"text", JsonBytes(finding.text)}});
    }
    return findings;
}
}  // namespace

void PrintLintJson(const Options& options, const LintResult& result, int exitStatus,
                   std::ostream& out) {
    PrintJson(Json{{"command", "lint"},
                   {"package", JsonBytes(options.package)},
                   {"codePage", options.codePage},
                   {"keyFile", KeyFileJson(result)},
                   {"files", FilesJson(result)},
                   {"findings", FindingsJson(result)},
                   {"exitStatus", exitStatus}},
              out);
}
