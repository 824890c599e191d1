// Prints the result of keycheck lint as one JSON document.
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/lint_report.h"

namespace {
Json EntryJson(const KeyFile& result, std::size_t i) {
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

Json KeyFileJson(const KeyFile& result) {
    Json keyFile{{"found", result.found}};
    if (result.found) {
        keyFile["size"] = result.bytes.size();
        keyFile["bytesRead"] = result.text.size();
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
    for (const Finding& finding : result.findings) {
        const bool placed = finding.offset >= 0;
        findings.push_back(Json{{"code", CodeName(finding.code)},
                                {"offset", placed ? Json(finding.offset) : Json(nullptr)},
                                {"line", placed ? Json(finding.line) : Json(nullptr)},
                                {"text", JsonBytes(LintFindingText(finding))}});
    }
    return findings;
}
}  // namespace

Json LintJson(const Options& options, const KeyFile& keyFile, const LintResult& result) {
    return Json{{"command", "lint"},
                {"package", JsonBytes(options.package)},
                {"codePage", options.codePage},
                {"keyFile", KeyFileJson(keyFile)},
                {"files", FilesJson(result)},
                {"findings", FindingsJson(result)},
                {"exitStatus", ExitStatus(result.findings)}};
}

void PrintLintJson(const Options& options, const KeyFile& keyFile, const LintResult& result,
                   std::ostream& out) {
    PrintJson(LintJson(options, keyFile, result), out);
}
