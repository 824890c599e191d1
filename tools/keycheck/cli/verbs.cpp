// keycheck's verbs, each run as one: the simulated machine set up from the options, the verb's
// job on it, and its report.
#include "tools/keycheck/cli/verbs.h"

#include "sim/fake_os.h"
#include "tools/keycheck/cli/machine_setup.h"
#include "tools/keycheck/devices/package_match.h"
#include "tools/keycheck/disk/disk_image.h"
#include "tools/keycheck/disk/disk_tools.h"
#include "tools/keycheck/predict/install_check.h"
#include "tools/keycheck/report/devices_report.h"
#include "tools/keycheck/report/gen_report.h"
#include "tools/keycheck/report/lint_report.h"
#include "tools/keycheck/report/predict_report.h"
#include "tools/keycheck/report/txtsetup_report.h"
#include "tools/keycheck/report/xref_report.h"
#include "tools/keycheck/txtsetup/txtsetup_check.h"
#include "tools/keycheck/xref/key_file_gen.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {
// A verb's job on the machine; it returns the exit status, and on unusable input sets error
// and returns kUnusableInput.
using Job = std::function<int(Options& options, CFakeOs& machine, std::string& error)>;

// Every verb's opening: a machine in the options' code page, handed to the launcher's logic for
// the whole verb, with the package at --dir when the verb names one. Unusable input is told in
// one line on err.
int OnMachine(Options options, std::ostream& err, const Job& job) {
    CFakeOs machine;
    const FakeOsInstalled installed(machine);
    machine.SetCodePage(options.codePage);
    std::string error;
    int status = kUnusableInput;
    if (options.package.empty() || SetUpPackage(options, machine, error))
        status = job(options, machine, error);
    if (!error.empty())
        err << "keycheck: " << error << "\n";
    return status;
}

// Writes the key file's bytes to out unchanged. On Windows standard output is in text mode,
// which would turn each CR LF into CR CR LF: the launcher would then keep a CR in every ID.
void WriteKeyFile(const std::string& text, std::ostream& out) {
#ifdef _WIN32
    if (&out == &std::cout) {
        out.flush();
        const int mode = _setmode(_fileno(stdout), _O_BINARY);
        out << text;
        out.flush();
        _setmode(_fileno(stdout), mode);
        return;
    }
#endif
    out << text;
}
}  // namespace

int RunLint(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string&) {
        LintResult result = LintPackage(machine, set.dir);
        // A package that holds the F6 file gets its findings too, named by file and line.
        for (const TxtSetupFinding& finding : CheckTxtSetup(machine, set.dir).findings) {
            if (!finding.warning)
                result.findings.push_back(LintFinding{
                    finding.code, -1,
                    finding.file + (finding.line > 0 ? ":" + std::to_string(finding.line) : "") +
                        ": " + finding.text});
        }
        const int status = result.findings.empty() ? 0 : 1;
        if (set.json)
            PrintLintJson(set, result, status, out);
        else
            PrintLintText(set, result, out);
        return status;
    });
}

int RunPredict(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string& error) {
        RegExport registry;
        if (!SetUpMachine(set, machine, registry, error))
            return kUnusableInput;
        const Prediction prediction = PredictLauncher(machine);
        const InstallCheck check =
            CheckInstall(machine, set.dir, registry, prediction, set.codePage, set.language);
        const int status = prediction.Installs() ? 0 : 1;
        if (set.json)
            PrintPredictionJson(set, registry.summary, prediction, check, status, out);
        else
            PrintPredictionText(set, registry.summary, prediction, check, out);
        return status;
    });
}

int RunDevices(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string& error) {
        RegExport registry;
        if (!ReadRegExportFile(set.registry, machine, registry, error))
            return kUnusableInput;
        std::vector<PciBranch> branches = FindPciDevices(registry, set.codePage);
        const bool withPackage = !set.package.empty();
        PackageMatch package;
        if (withPackage)
            package = MatchPackage(machine, set.dir, branches, set.language);
        if (set.json)
            PrintDevicesJson(set, registry.summary, branches, withPackage ? &package : nullptr,
                             out);
        else
            PrintDevicesText(set, registry.summary, branches, withPackage ? &package : nullptr,
                             out);
        return 0;
    });
}

int RunXref(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string&) {
        const XrefResult result = CrossCheck(machine, set.dir, set.language);
        if (set.json)
            PrintXrefJson(set.package, result, out);
        else
            PrintXrefText(set.package, result, out);
        return XrefStatus(result);
    });
}

int RunTxtSetup(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string& error) {
        const TxtSetupResult result = CheckTxtSetup(machine, set.dir);
        if (!result.found) {
            error = set.package + ": no TXTSETUP.OEM in the folder";
            return kUnusableInput;
        }
        if (set.json)
            PrintTxtSetupJson(set.package, result, out);
        else
            PrintTxtSetupText(set.package, result, out);
        return TxtSetupStatus(result);
    });
}

int RunDiskBuild(const Options& options, std::ostream& out, std::ostream& err) {
    std::error_code failure;
    if (!std::filesystem::is_directory(options.package, failure)) {
        err << "keycheck: " << options.package << ": not a folder\n";
        return kUnusableInput;
    }
    DiskBuild build{options.package,         options.floppy.empty() ? options.cd : options.floppy,
                    !options.floppy.empty(), !options.noJoliet,
                    options.f6Only,          options.label};
    std::string error;
    if (!BuildDiskImage(build, error)) {
        err << "keycheck disk build: nothing written: " << error << "\n";
        return 1;
    }
    out << "keycheck disk build: " << build.image << " written, "
        << (build.floppy
                ? (build.f6Only ? "the F6 floppy" : "a floppy")
                : (build.joliet ? "a CD with Joliet names" : "a CD with ISO 9660 names only"))
        << "\n";
    return 0;
}

int RunDiskCheck(const Options& options, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!DiskToolsPresent(error)) {
        err << "keycheck: " << options.image << ": " << error << "\n";
        return kUnusableInput;
    }
    const std::string folder = MakeScratchFolder();
    if (folder.empty() || !ExtractDiskImage(options.image, folder, error)) {
        err << "keycheck: " << (folder.empty() ? "no temporary folder for the image" : error)
            << "\n";
        if (!folder.empty())
            std::filesystem::remove_all(folder);
        return kUnusableInput;
    }
    const std::string kind = DiskImageKind(options.image);
    out << "keycheck disk check " << options.image << ": "
        << (kind == "floppy"      ? "a FAT floppy image, its long names"
            : kind == "cd-joliet" ? "an ISO 9660 CD image, its Joliet names"
                                  : "an ISO 9660 CD image without Joliet, its 8.3 "
                                    "names as Windows 98 SE to XP read them")
        << ", read into " << folder << "\n\n";
    Options onDisk = options;
    onDisk.package = folder;
    onDisk.dir = kind == "floppy" ? "A:\\" : "D:\\";
    int status = 0;
    const bool keyFile = std::filesystem::exists(std::filesystem::path(folder) / "key.ini") ||
                         std::filesystem::exists(std::filesystem::path(folder) / "KEY.INI");
    if (keyFile) {
        status = std::max(status, RunLint(onDisk, out, err));
        out << "\n";
        status = std::max(status, RunXref(onDisk, out, err));
        out << "\n";
    }
    std::ostringstream txtsetup, none;
    const int f6 = RunTxtSetup(onDisk, txtsetup, none);
    if (f6 != kUnusableInput) {
        out << txtsetup.str();
        status = std::max(status, f6);
    } else if (!keyFile) {
        out << "no key.ini and no TXTSETUP.OEM on the disk: nothing of a driver package\n";
        status = 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}

int RunGen(const Options& options, std::ostream& out, std::ostream& err) {
    return OnMachine(options, err, [&](Options& set, CFakeOs& machine, std::string& error) {
        const GeneratedKeyFile generated = GenerateKeyFile(machine, set.dir, set.language);
        PrintGenNotes(generated, set.output.empty() ? err : out);
        if (!generated.refusal.empty()) {
            err << "keycheck gen: nothing written: " << generated.refusal << "\n";
            return 1;
        }
        if (set.output.empty()) {
            WriteKeyFile(generated.text, out);
            return 0;
        }
        std::ofstream file(set.output, std::ios::binary);
        file << generated.text;
        file.close();
        if (!file) {
            error = set.output + ": cannot be written";
            return kUnusableInput;
        }
        out << "keycheck gen: " << set.output << " written, " << generated.ids.size() << " IDs\n";
        return 0;
    });
}
