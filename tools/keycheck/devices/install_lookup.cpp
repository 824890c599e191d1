// What would install a device on one Windows version: the best models line of its INF.
#include "tools/keycheck/devices/install_lookup.h"

InstallVerdict FindInstall(const VersionInf& inf, const std::vector<std::string>& hardwareIds,
                           const std::vector<std::string>& compatibleIds) {
    InstallVerdict verdict;
    verdict.version = inf.version;
    verdict.label = inf.label;
    verdict.inf = inf.path;
    verdict.infReadable = inf.models.readable;
    const std::vector<ModelMatch> matches =
        LinesInstalling(inf.models.lines, hardwareIds, compatibleIds);
    if (!matches.empty()) {
        verdict.installs = true;
        verdict.line = *matches[0].line;
        verdict.kind = matches[0].deviceKind;
        verdict.id = matches[0].id;
    }
    return verdict;
}
