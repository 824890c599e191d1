// Reports what would install a device on one version, for people and as JSON.
#include "tools/keycheck/report/install_report.h"

#include "tools/keycheck/text/shown_text.h"

std::string InstallText(const InstallVerdict& verdict, int codePage) {
    std::string text = verdict.label;
    text.resize(std::max<std::size_t>(text.size(), 14), ' ');
    text += " " + verdict.inf;
    if (!verdict.infReadable)
        return text + ": this version cannot use it (keycheck xref tells why)";
    if (!verdict.installs)
        return text + ": no models line names the device";
    // The INF's own text is UTF-8 already.
    return text + " line " + std::to_string(verdict.line.line) + " [" + verdict.line.section +
           "] \"" + verdict.line.description + "\" -> " + verdict.line.installSection + ", by " +
           DeviceIdKindName(verdict.kind) + " " + Shown(verdict.id, codePage);
}

Json InstallJson(const InstallVerdict& verdict) {
    Json json{{"os", verdict.label},
              {"inf", JsonBytes(verdict.inf)},
              {"infReadable", verdict.infReadable},
              {"installs", verdict.installs}};
    if (!verdict.installs) {
        json["modelsLine"] = nullptr;
        json["matchedBy"] = nullptr;
        json["id"] = nullptr;
        return json;
    }
    // The INF's own text is UTF-8 already.
    json["modelsLine"] = Json{{"file", verdict.line.file},
                              {"section", verdict.line.section},
                              {"line", verdict.line.line},
                              {"description", verdict.line.description},
                              {"installSection", verdict.line.installSection},
                              {"hardwareId", verdict.line.hardwareId},
                              {"compatibleIds", verdict.line.compatibleIds}};
    json["matchedBy"] = DeviceIdKindName(verdict.kind);
    json["id"] = JsonBytes(verdict.id);
    return json;
}
