// Prints the result of keycheck lint as one JSON document.
#include "tools/keycheck/json_writer.h"
#include "tools/keycheck/lint_report.h"

namespace {
void WriteEntry(const LintResult& result, std::size_t i, JsonWriter& json) {
    const KeyEntry& entry = result.entries[i];
    const bool kept = i < result.table.size();
    json.BeginObject();
    json.NumberMember("number", static_cast<long long>(i + 1));
    json.NumberMember("offset", entry.valueOffset);
    json.NumberMember("line", entry.line);
    json.StringMember("name", entry.name);
    json.StringMember("value", entry.value);
    // What the launcher's table holds for it; null past the 40th.
    json.OptionalStringMember("kept", kept, kept ? result.table[i] : std::string());
    json.EndObject();
}

void WriteKeyFile(const LintResult& result, JsonWriter& json) {
    json.Key("keyFile");
    json.BeginObject();
    json.BoolMember("found", result.keyFileFound);
    if (result.keyFileFound) {
        json.NumberMember("size", static_cast<long long>(result.keyFileSize));
        json.NumberMember("bytesRead", static_cast<long long>(result.keyText.size()));
        json.Key("entries");
        json.BeginArray();
        for (std::size_t i = 0; i < result.entries.size(); ++i)
            WriteEntry(result, i, json);
        json.EndArray();
    }
    json.EndObject();
}

void WriteFiles(const LintResult& result, JsonWriter& json) {
    json.Key("files");
    json.BeginArray();
    for (const PackageFileCheck& file : result.files) {
        json.BeginObject();
        json.StringMember("path", file.path);
        json.StringMember("usedBy", file.usedBy);
        json.BoolMember("present", file.present);
        json.EndObject();
    }
    json.EndArray();
}

void WriteWarnings(const LintResult& result, JsonWriter& json) {
    json.Key("warnings");
    json.BeginArray();
    for (const LintFinding& finding : result.findings) {
        const bool placed = finding.offset >= 0;
        json.BeginObject();
        json.StringMember("code", finding.code);
        json.OptionalNumberMember("offset", placed, finding.offset);
        json.OptionalNumberMember("line", placed,
                                  placed ? LineAt(result.keyText, finding.offset) : 0);
        json.StringMember("text", finding.text);
        json.EndObject();
    }
    json.EndArray();
}
}  // namespace

void PrintLintJson(const Options& options, const LintResult& result, int exitStatus,
                   std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.StringMember("command", "lint");
    json.StringMember("package", options.package);
    json.NumberMember("codePage", options.codePage);
    WriteKeyFile(result, json);
    WriteFiles(result, json);
    WriteWarnings(result, json);
    json.NumberMember("exitStatus", exitStatus);
    json.EndObject();
    out << "\n";
}
