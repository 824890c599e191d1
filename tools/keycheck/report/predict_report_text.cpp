// Prints the result of keycheck predict for people, step by step.
#include "tools/keycheck/report/predict_report.h"

#include "tools/keycheck/predict/version_names.h"
#include "tools/keycheck/report/install_report.h"
#include "tools/keycheck/signing/signing_check.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
void Pad(std::ostream& out, std::size_t used, std::size_t width) {
    for (; used < width; ++used)
        out << ' ';
}

void PrintSearch(const Prediction& prediction, const MachineSource& machine, int codePage,
                 std::ostream& out) {
    out << "Device keys under HKLM\\" << prediction.branch;
    if (!prediction.branchInExport) {
        out << ": the machine has no such key, so no device is found\n";
        return;
    }
    // An export lists keys in its own order; a registry file holds them in the order the
    // machine's RegEnumKey gives them (a hive's sorted index, 98/Me's chain of keys).
    if (machine.kind == MachineKind::Export)
        out << ", " << prediction.subkeys.size() << " in the export's order\n"
            << "   (Windows enumerates them in its own order, usually by name):\n";
    else
        out << ", " << prediction.subkeys.size()
            << " in the registry file's order, which is Windows' own:\n";
    for (std::size_t i = 0; i < prediction.subkeys.size(); ++i) {
        const SubkeyVerdict& key = prediction.subkeys[i];
        const std::string name = Shown(key.name, codePage);
        out << "     " << name;
        Pad(out, name.size(), 44);
        if (!key.reached) {
            out << "  not reached\n";
            continue;
        }
        if (key.matchedEntry < 0)
            out << "  no listed ID";
        else
            out << "  holds #" << key.matchedEntry + 1 << " \""
                << Shown(prediction.table[static_cast<std::size_t>(key.matchedEntry)], codePage)
                << "\"";
        if (static_cast<int>(i) == prediction.taken)
            out << "  <- the device";
        out << "\n";
    }
}

void PrintActions(const Prediction& prediction, int& step, int codePage, std::ostream& out) {
    for (const std::string& command : prediction.commandLines) {
        bool missing = false;
        out << ++step << ". Runs, hidden:\n     " << Shown(command, codePage) << "\n";
        for (const PathInPackage& file : prediction.commandFiles) {
            out << "     " << Shown(file.path, codePage);
            Pad(out, Shown(file.path, codePage).size(), 30);
            out << (file.present ? "  in the package\n" : "  NOT in the package\n");
            missing = missing || !file.present;
        }
        if (missing)
            out << "   With a file missing the installer cannot do its work, and the launcher "
                   "does not tell.\n";
    }
    for (const std::string& key : prediction.keysDeleted)
        out << ++step << ". Deletes HKLM\\" << prediction.branch << "\\" << Shown(key, codePage)
            << " with its subkeys, for Windows to detect the device afresh\n";
    if (!prediction.copies.empty()) {
        out << ++step
            << ". Copies (each succeeds only if the machine has the destination's folder):\n";
        for (const CopyStep& copy : prediction.copies) {
            out << "     " << Shown(copy.source.path, codePage);
            Pad(out, Shown(copy.source.path, codePage).size(), 24);
            out << " -> " << Shown(copy.destination, codePage)
                << (copy.source.present ? "\n" : "   (source NOT in the package: skipped)\n");
        }
    }
    for (const FakeMessageBox& box : prediction.boxes)
        out << ++step << ". Message box, caption \"" << Shown(box.caption, codePage)
            << "\", text \"" << Shown(box.text, codePage) << "\"\n";
}

void PrintInstallCheck(const InstallCheck& check, const MachineSource& machine, int& step,
                       int codePage, std::ostream& out) {
    const char* const source =
        machine.kind == MachineKind::Export ? "the export" : "the registry file";
    out << ++step << ". Whether Windows finds a driver: the INF " << check.verdict.label
        << " is given, for the device's IDs "
        << (check.idsFromExport ? std::string("(from ") + source + ")"
                                : std::string("(its key name; ") + source + " has none)")
        << ":\n     " << InstallText(check.verdict, codePage) << "\n";
    if (!check.signingChecked)
        return;
    out << ++step << ". Whether Windows trusts the driver: " << SigningLine(check.signing) << "\n";
    if (check.signing.prompts)
        out << "   The launcher runs install.exe hidden: the prompt comes from an installer the "
               "user never saw start.\n";
}
}  // namespace

void PrintPredictionText(const Options& options, const LauncherSetting& setting,
                         const MachineSource& machine, const Prediction& prediction,
                         const InstallCheck& check, std::ostream& out) {
    const WindowsVersion& version = *setting.version;
    out << "keycheck predict " << options.package << " on " << version.label << "\n"
        << "  run from " << Shown(setting.dir, options.codePage) << ", Windows folder "
        << Shown(setting.windowsDir, options.codePage) << ", ANSI code page " << options.codePage
        << "\n"
        << "  registry " << options.registry << ": " << MachineLabel(machine) << ", "
        << Counted(machine.localMachineKeys, "key", "keys") << " under HKEY_LOCAL_MACHINE\n";
    if (options.os.empty())
        out << "  version from the machine: " << VersionSource(options.os, machine.version) << "\n";
    const std::string disagreement = VersionDisagreement(options.os, machine.version);
    if (!disagreement.empty())
        out << "  warning: " << disagreement << "\n";
    out << "\n";

    int step = 0;
    out << ++step << ". Windows version: " << version.label << " -> the launcher's code "
        << static_cast<int>(prediction.osType) << " (" << OsTypeName(prediction.osType) << ")\n";
    if (prediction.keyFileRead) {
        out << ++step << ". key.ini: " << Shown(prediction.appDir, options.codePage)
            << "key.ini read, " << Counted(prediction.table.size(), "entry", "entries") << ":\n";
        for (std::size_t i = 0; i < prediction.table.size(); ++i)
            out << "     #" << i + 1 << "  \"" << Shown(prediction.table[i], options.codePage)
                << "\"\n";
    }
    if (prediction.searched) {
        out << ++step << ". ";
        PrintSearch(prediction, machine, options.codePage, out);
    }
    PrintActions(prediction, step, options.codePage, out);
    if (check.checked)
        PrintInstallCheck(check, machine, step, options.codePage, out);
    out << "\nResult: " << (prediction.Installs() ? "installs" : "refuses")
        << "; the launcher exits with status " << prediction.exitStatus << "\n";
    if (check.checked && check.verdict.installs && check.signing.prompts)
        out << "The INF has a models line for the device, so the install would work, once the "
               "user has answered the prompt for a driver "
            << check.verdict.label << " does not count as signed.\n";
    else if (check.checked)
        out << (check.verdict.installs
                    ? "The INF has a models line for the device, so the install would work.\n"
                    : "The INF has no models line for the device, so Windows would find no "
                      "driver for it.\n");
}
