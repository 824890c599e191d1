// Prints the result of keycheck predict as one JSON document.
#include "tools/keycheck/predict/version_names.h"
#include "tools/keycheck/report/catalog_report.h"
#include "tools/keycheck/report/install_report.h"
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/machine_report.h"
#include "tools/keycheck/report/predict_report.h"

namespace {
void AddHeader(const Options& options, const LauncherSetting& setting, const MachineSource& machine,
               const Prediction& prediction, Json& json) {
    json["command"] = "predict";
    json["package"] = JsonBytes(options.package);
    json["dir"] = JsonBytes(setting.dir);
    json["windowsDir"] = JsonBytes(setting.windowsDir);
    json["codePage"] = options.codePage;
    json["registry"] = MachineJson(options.registry, machine);
    json["os"] =
        Json{{"option", setting.version->option},
             {"label", setting.version->label},
             {"code", prediction.osType},
             {"name", OsTypeName(prediction.osType)},
             {"from", VersionSource(options.os, machine.version)},
             {"warning", JsonTextOrNull(VersionDisagreement(options.os, machine.version))}};
}

Json SearchJson(const Prediction& prediction) {
    if (!prediction.searched)
        return nullptr;
    Json subkeys = Json::array();
    for (const SubkeyVerdict& key : prediction.subkeys) {
        const bool matched = key.matchedEntry >= 0;
        subkeys.push_back(Json{
            {"name", JsonBytes(key.name)},
            {"reached", key.reached},
            {"matchedEntry", matched ? Json(key.matchedEntry + 1) : Json(nullptr)},
            {"matchedId",
             JsonBytesOrNull(matched,
                             matched ? prediction.table[static_cast<std::size_t>(key.matchedEntry)]
                                     : "")}});
    }
    const bool taken = prediction.taken >= 0;
    return Json{
        {"branch", JsonBytes(prediction.branch)},
        {"branchInExport", prediction.branchInExport},
        {"order", "export"},
        {"subkeys", subkeys},
        {"taken",
         JsonBytesOrNull(taken,
                         taken ? prediction.subkeys[static_cast<std::size_t>(prediction.taken)].name
                               : "")}};
}

void AddActions(const Prediction& prediction, Json& json) {
    const bool ran = !prediction.commandLines.empty();
    json["commandLine"] = JsonBytesOrNull(ran, ran ? prediction.commandLines[0] : "");
    Json files = Json::array();
    for (const PathInPackage& file : prediction.commandFiles)
        files.push_back(Json{{"path", JsonBytes(file.path)}, {"inPackage", file.present}});
    json["commandFiles"] = files;
    const bool deleted = !prediction.keysDeleted.empty();
    json["deletedKey"] = JsonBytesOrNull(
        deleted, deleted ? prediction.branch + "\\" + prediction.keysDeleted[0] : "");
    Json copies = Json::array();
    for (const CopyStep& copy : prediction.copies)
        copies.push_back(Json{{"source", JsonBytes(copy.source.path)},
                              {"sourceInPackage", copy.source.present},
                              {"destination", JsonBytes(copy.destination)}});
    json["copies"] = copies;
    Json boxes = Json::array();
    for (const FakeMessageBox& box : prediction.boxes)
        boxes.push_back(Json{{"caption", JsonBytes(box.caption)},
                             {"text", JsonBytes(box.text)},
                             {"type", box.type}});
    json["boxes"] = boxes;
}

// Whether the INF the version is given has a models line for the device; null when the
// launcher does not install.
Json InstallCheckJson(const InstallCheck& check) {
    if (!check.checked)
        return nullptr;
    Json json = InstallJson(check.verdict);
    Json hardwareIds = Json::array();
    for (const std::string& id : check.hardwareIds)
        hardwareIds.push_back(JsonBytes(id));
    Json compatibleIds = Json::array();
    for (const std::string& id : check.compatibleIds)
        compatibleIds.push_back(JsonBytes(id));
    json["idsFrom"] = check.idsFromExport ? "export" : "keyName";
    json["hardwareIds"] = hardwareIds;
    json["compatibleIds"] = compatibleIds;
    json["signing"] = check.signingChecked ? SigningJson(check.signing) : Json(nullptr);
    return json;
}
}  // namespace

void PrintPredictionJson(const Options& options, const LauncherSetting& setting,
                         const MachineSource& machine, const Prediction& prediction,
                         const InstallCheck& check, std::ostream& out) {
    Json json = Json::object();
    AddHeader(options, setting, machine, prediction, json);
    json["keyFileRead"] = prediction.keyFileRead;
    Json entries = Json::array();
    for (const std::string& id : prediction.table)
        entries.push_back(JsonBytes(id));
    json["entries"] = entries;
    json["search"] = SearchJson(prediction);
    AddActions(prediction, json);
    json["infCheck"] = InstallCheckJson(check);
    json["launcherExitStatus"] = prediction.exitStatus;
    json["outcome"] = prediction.Installs() ? "install" : "refuse";
    json["exitStatus"] = prediction.Installs() ? 0 : 1;
    PrintJson(json, out);
}
