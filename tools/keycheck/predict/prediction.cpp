// Runs the real launcher on the machine a registry describes and records, step by step, what it
// did there.
#include "tools/keycheck/predict/prediction.h"

#include "sim/app_runner.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/launcher/key_file.h"

#include <algorithm>

namespace {
// The first two words of a command line, a word in double quotes holding blanks.
std::vector<std::string> LeadingWords(const std::string& command) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (words.size() < 2 && at < command.size()) {
        if (command[at] == ' ') {
            ++at;
            continue;
        }
        const bool quoted = command[at] == '"';
        const std::size_t start = quoted ? at + 1 : at;
        std::size_t end = command.find(quoted ? '"' : ' ', start);
        if (end == std::string::npos)
            end = command.size();
        words.push_back(command.substr(start, end - start));
        at = end + 1;
    }
    return words;
}

CopyStep ParseCopy(const std::string& logged, const CFakeOs& machine) {
    // Logged as "source -> destination"; ">" cannot be part of a Windows path.
    const std::size_t arrow = logged.find(" -> ");
    const std::string source = logged.substr(0, arrow);
    return CopyStep{PathInPackage{source, machine.FileExists(source)}, logged.substr(arrow + 4)};
}

// Adds every key below key to machine, each parent before its subkeys and subkeys in the tree's
// order, so that the simulated machine enumerates them in the source's order.
void AddKeys(const RegKey& key, const std::string& path, CFakeOs& machine) {
    for (const auto& child : key.subkeys) {
        const std::string childPath = path.empty() ? child->name : path + "\\" + child->name;
        machine.AddKey(childPath);
        AddKeys(*child, childPath, machine);
    }
}

// The launcher reads no package file but key.ini: it copies the others and starts
// install.exe, for which their being there is what counts. So key.ini has its bytes and the
// other files are there empty, none of them read again.
void AddPackageFiles(const Package& package, const std::string& dir, CFakeOs& machine) {
    for (const PackageFile& file : package.files.All())
        machine.AddFile(dir + file.path, std::string());
    if (package.keyFile.found)
        machine.AddFile(dir + package.keyFile.name, package.keyFile.bytes);
}
}  // namespace

Prediction PredictLauncher(const Package& package, const MachineSource& source,
                           const LauncherSetting& setting) {
    CFakeOs machine;
    machine.SetCodePage(setting.codePage);
    SetWindowsVersion(machine, setting.version->wineName);
    machine.windowsDir = setting.windowsDir;
    machine.modulePath = setting.dir + "setup.exe";
    AddPackageFiles(package, setting.dir, machine);
    AddKeys(source.tree.Root(), std::string(), machine);

    // The 9x run deletes a key, so the branches are seen before it.
    const std::vector<std::string> ntKeys = machine.SubKeyNames(kNtPciBranch);
    const std::vector<std::string> w9xKeys = machine.SubKeyNames(k9xPciBranch);
    const bool ntBranch = machine.KeyExists(kNtPciBranch);
    const bool w9xBranch = machine.KeyExists(k9xPciBranch);

    const LauncherRun run = RunLauncher(machine);

    Prediction prediction;
    prediction.osType = run.osType;
    prediction.appDir = run.appDir;
    prediction.exitStatus = run.exitStatus;
    prediction.keyFileRead = run.keyFileRead;
    for (int i = 0; i < run.listed.count; ++i)
        prediction.table.push_back(run.listed.ids[i]);
    prediction.commandLines = machine.commandLines;
    prediction.keysDeleted = machine.keysDeleted;
    prediction.boxes = machine.boxes;
    for (const std::string& copy : machine.copiesAttempted)
        prediction.copies.push_back(ParseCopy(copy, machine));
    if (!prediction.commandLines.empty()) {
        for (const std::string& word : LeadingWords(prediction.commandLines[0]))
            prediction.commandFiles.push_back(PathInPackage{word, machine.FileExists(word)});
    }

    const auto& calls = machine.calls;
    prediction.searched = std::count(calls.begin(), calls.end(), FakeOp::RegOpenKeyExA) > 0;
    if (!prediction.searched)
        return prediction;
    const bool nt = IsNtVersion(run.osType);
    prediction.branch = nt ? kNtPciBranch : k9xPciBranch;
    prediction.branchInExport = nt ? ntBranch : w9xBranch;
    std::string taken = run.DeviceKeyName();
    if (!nt && !prediction.keysDeleted.empty())
        taken = prediction.keysDeleted[0];
    const auto reached = std::count(calls.begin(), calls.end(), FakeOp::RegEnumKeyA);
    const std::vector<std::string>& names = nt ? ntKeys : w9xKeys;
    const std::vector<std::string> readNames(
        names.begin(), names.begin() + std::min<long>(reached, static_cast<long>(names.size())));
    const std::vector<int> matched = ListedEntriesIn(run.listed, readNames, setting.codePage);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool read = i < readNames.size();
        prediction.subkeys.push_back(SubkeyVerdict{names[i], read, read ? matched[i] : -1});
        if (read && !taken.empty() && names[i] == taken)
            prediction.taken = static_cast<int>(i);
    }
    return prediction;
}
