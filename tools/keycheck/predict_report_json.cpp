// Prints the result of keycheck predict as one JSON document.
#include "tools/keycheck/json_writer.h"
#include "tools/keycheck/predict_report.h"
#include "tools/keycheck/windows_versions.h"

namespace {
void WriteHeader(const Options& options, const RegExportSummary& registry,
                 const Prediction& prediction, JsonWriter& json) {
    json.StringMember("command", "predict");
    json.StringMember("package", options.package);
    json.StringMember("dir", options.dir);
    json.StringMember("windowsDir", options.windowsDir);
    json.NumberMember("codePage", options.codePage);
    json.Key("registry");
    json.BeginObject();
    json.StringMember("file", options.registry);
    json.StringMember("encoding",
                      registry.encoding == RegEncoding::Utf16 ? "UTF-16LE" : "REGEDIT4");
    json.NumberMember("localMachineKeys", registry.localMachineKeys);
    json.EndObject();
    json.Key("os");
    json.BeginObject();
    json.StringMember("option", options.os);
    json.StringMember("label", FindWindowsVersion(options.os)->label);
    json.NumberMember("code", prediction.osType);
    json.StringMember("name", OsTypeName(prediction.osType));
    json.EndObject();
}

void WriteSearch(const Prediction& prediction, JsonWriter& json) {
    json.BoolMember("keyFileRead", prediction.keyFileRead);
    json.Key("entries");
    json.BeginArray();
    for (const std::string& id : prediction.table)
        json.String(id);
    json.EndArray();
    json.Key("search");
    if (!prediction.searched) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.StringMember("branch", prediction.branch);
    json.BoolMember("branchInExport", prediction.branchInExport);
    json.StringMember("order", "export");
    json.Key("subkeys");
    json.BeginArray();
    for (const SubkeyVerdict& key : prediction.subkeys) {
        const bool matched = key.matchedEntry >= 0;
        json.BeginObject();
        json.StringMember("name", key.name);
        json.BoolMember("reached", key.reached);
        json.OptionalNumberMember("matchedEntry", matched, key.matchedEntry + 1);
        json.OptionalStringMember(
            "matchedId", matched,
            matched ? prediction.table[static_cast<std::size_t>(key.matchedEntry)] : "");
        json.EndObject();
    }
    json.EndArray();
    const bool taken = prediction.taken >= 0;
    json.OptionalStringMember(
        "taken", taken,
        taken ? prediction.subkeys[static_cast<std::size_t>(prediction.taken)].name : "");
    json.EndObject();
}

void WriteActions(const Prediction& prediction, JsonWriter& json) {
    const bool ran = !prediction.commandLines.empty();
    json.OptionalStringMember("commandLine", ran, ran ? prediction.commandLines[0] : "");
    json.Key("commandFiles");
    json.BeginArray();
    for (const PathInPackage& file : prediction.commandFiles) {
        json.BeginObject();
        json.StringMember("path", file.path);
        json.BoolMember("inPackage", file.present);
        json.EndObject();
    }
    json.EndArray();
    const bool deleted = !prediction.keysDeleted.empty();
    json.OptionalStringMember("deletedKey", deleted,
                              deleted ? prediction.branch + "\\" + prediction.keysDeleted[0] : "");
    json.Key("copies");
    json.BeginArray();
    for (const CopyStep& copy : prediction.copies) {
        json.BeginObject();
        json.StringMember("source", copy.source.path);
        json.BoolMember("sourceInPackage", copy.source.present);
        json.StringMember("destination", copy.destination);
        json.EndObject();
    }
    json.EndArray();
    json.Key("boxes");
    json.BeginArray();
    for (const FakeMessageBox& box : prediction.boxes) {
        json.BeginObject();
        json.StringMember("caption", box.caption);
        json.StringMember("text", box.text);
        json.NumberMember("type", box.type);
        json.EndObject();
    }
    json.EndArray();
}
}  // namespace

void PrintPredictionJson(const Options& options, const RegExportSummary& registry,
                         const Prediction& prediction, int exitStatus, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    WriteHeader(options, registry, prediction, json);
    WriteSearch(prediction, json);
    WriteActions(prediction, json);
    json.NumberMember("launcherExitStatus", prediction.exitStatus);
    json.StringMember("outcome", prediction.Installs() ? "install" : "refuse");
    json.NumberMember("exitStatus", exitStatus);
    json.EndObject();
    out << "\n";
}
