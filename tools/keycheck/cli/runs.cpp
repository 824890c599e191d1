// Each verb's run: its input read from the options, its job, its report, its exit status.
#include "tools/keycheck/cli/runs.h"

#include "platform/mbcs_text.h"
#include "tools/keycheck/cli/progress.h"
#include "tools/keycheck/devices/package_match.h"
#include "tools/keycheck/disk/disk_check.h"
#include "tools/keycheck/disk/disk_image.h"
#include "tools/keycheck/disk/disk_tools.h"
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/library/survey_run.h"
#include "tools/keycheck/match/library_match.h"
#include "tools/keycheck/predict/install_check.h"
#include "tools/keycheck/report/catalog_report.h"
#include "tools/keycheck/report/devices_report.h"
#include "tools/keycheck/report/disk_report.h"
#include "tools/keycheck/report/gen_report.h"
#include "tools/keycheck/report/lint_report.h"
#include "tools/keycheck/report/match_report.h"
#include "tools/keycheck/report/predict_report.h"
#include "tools/keycheck/report/survey_report.h"
#include "tools/keycheck/report/txtsetup_report.h"
#include "tools/keycheck/report/xref_report.h"
#include "tools/keycheck/signing/signing_check.h"
#include "tools/keycheck/xref/key_file_gen.h"

#include "sim/ansi_names.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {
// Tells unusable input in one line on err and gives its status.
int Unusable(const std::string& error, std::ostream& err) {
    err << "keycheck: " << error << "\n";
    return kUnusableInput;
}

bool ReadPackageOf(const Options& options, Package& package, std::string& error) {
    return ReadPackage(options.package, InfReading{options.codePage, options.language}, package,
                       error);
}

// Whether path's last character, walked in the code page, is a backslash: the second byte of a
// double-byte character can be one too.
bool EndsInBackslash(const std::string& path, int codePage) {
    const std::vector<std::string> parts = SplitAnsiPath(path, codePage);
    return parts.size() > 1 && parts.back().empty();
}

MachineChoice ChoiceOf(const Options& options) {
    return MachineChoice{options.partition, options.windowsDir, options.controlSet};
}

// The version from --os, or else the one the machine records; the Windows folder from --windir,
// or else the one a disk image holds, or else C:\WINDOWS. --dir and --windir in the form
// Windows gives them: the program's folder ending in a backslash, the Windows folder without one
// except at a drive's root. False, with error, when neither --os nor the machine names a version.
bool SettingOf(const Options& options, const MachineSource& machine, LauncherSetting& setting,
               std::string& error) {
    const std::string& recorded = machine.version.option;
    if (options.os.empty() && recorded.empty()) {
        error = options.registry + ": records no Windows version (" + MachineLabel(machine) +
                "); name it with --os";
        return false;
    }
    std::string windowsDir = options.windowsDir;
    if (windowsDir.empty())
        windowsDir = machine.fromImage ? machine.image.windowsDir : "C:\\WINDOWS";
    setting = LauncherSetting{WindowsVersionByOption(options.os.empty() ? recorded : options.os),
                              options.dir, windowsDir, options.codePage};
    if (!EndsInBackslash(setting.dir, options.codePage))
        setting.dir += '\\';
    while (setting.windowsDir.size() > 3 && EndsInBackslash(setting.windowsDir, options.codePage))
        setting.windowsDir.pop_back();
    return true;
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
    Package package;
    std::string error;
    if (!ReadPackageOf(options, package, error))
        return Unusable(error, err);
    const LintResult result = LintPackage(package, !options.noCatalogs);
    if (options.json)
        PrintLintJson(options, package.keyFile, result, out);
    else
        PrintLintText(options, package.keyFile, result, out);
    return ExitStatus(result.findings);
}

int RunPredict(const Options& options, std::ostream& out, std::ostream& err) {
    Package package;
    MachineSource machine;
    std::string error;
    LauncherSetting setting;
    if (!ReadPackageOf(options, package, error) ||
        !OpenMachine(options.registry, options.codePage, ChoiceOf(options), machine, error) ||
        !SettingOf(options, machine, setting, error))
        return Unusable(error, err);
    const Prediction prediction = PredictLauncher(package, machine, setting);
    const InstallCheck check = CheckInstall(package, machine, prediction, !options.noCatalogs);
    if (options.json)
        PrintPredictionJson(options, setting, machine, prediction, check, out);
    else
        PrintPredictionText(options, setting, machine, prediction, check, out);
    return prediction.Installs() ? 0 : 1;
}

int RunDevices(const Options& options, std::ostream& out, std::ostream& err) {
    const bool withPackage = !options.package.empty();
    Package package;
    MachineSource machine;
    std::string error;
    if ((withPackage && !ReadPackageOf(options, package, error)) ||
        !OpenMachine(options.registry, options.codePage, ChoiceOf(options), machine, error))
        return Unusable(error, err);
    std::vector<PciBranch> branches = FindPciDevices(machine, options.codePage);
    PackageMatch match;
    if (withPackage)
        match = MatchPackage(package, branches);
    const PackageMatch* matched = withPackage ? &match : nullptr;
    if (options.json)
        PrintDevicesJson(options, machine, branches, matched, out);
    else
        PrintDevicesText(options, machine, branches, matched, out);
    return DevicesExitStatus(branches);
}

int RunXref(const Options& options, std::ostream& out, std::ostream& err) {
    Package package;
    std::string error;
    if (!ReadPackageOf(options, package, error))
        return Unusable(error, err);
    const XrefResult result = CrossCheck(package, !options.noCatalogs);
    if (options.json)
        PrintXrefJson(options.package, result, out);
    else
        PrintXrefText(options.package, result, out);
    return ExitStatus(result.findings);
}

int RunTxtSetup(const Options& options, std::ostream& out, std::ostream& err) {
    Package package;
    std::string error;
    if (!ReadPackageOf(options, package, error))
        return Unusable(error, err);
    const F6Check result = CheckF6File(package, !options.noCatalogs);
    if (!result.found)
        return Unusable(options.package + ": no TXTSETUP.OEM in the folder", err);
    if (options.json)
        PrintTxtSetupJson(options.package, result, out);
    else
        PrintTxtSetupText(options.package, result, out);
    return ExitStatus(result.findings);
}

int RunCatalog(const Options& options, std::ostream& out, std::ostream& err) {
    if (!CatalogsReadable())
        return Unusable(ReadCatalog("").problem, err);
    std::error_code failure;
    if (std::filesystem::is_regular_file(options.package, failure)) {
        std::ifstream file(options.package, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        const Catalog catalog = ReadCatalog(bytes);
        if (!catalog.read)
            return Unusable(options.package + ": " + catalog.problem, err);
        if (options.json)
            PrintLoneCatalogJson(options.package, catalog, out);
        else
            PrintLoneCatalogText(options.package, catalog, out);
        return 0;
    }
    Package package;
    std::string error;
    if (!ReadPackageOf(options, package, error))
        return Unusable(error, err);
    const SigningCheck check = CheckFolderSigning(package, true);
    if (options.json)
        PrintCatalogJson(options.package, check, out);
    else
        PrintCatalogText(options.package, check, out);
    return ExitStatus(check.findings);
}

namespace {
SurveyReading SurveyReadingOf(const Options& options) {
    SurveyReading how;
    how.reading = InfReading{options.codePage, options.language};
    how.readCatalogs = !options.noCatalogs && CatalogsReadable();
    return how;
}

int JobsOf(const Options& options) {
    return options.jobs > 0 ? options.jobs : DefaultSurveyJobs();
}

// The version match ranks for: --os, else the one the machine records where it is one of the
// four, else none (both of each branch's family).
OsType MatchVersion(const Options& options, const MachineSource& machine) {
    const std::string& named = options.os.empty() ? machine.version.option : options.os;
    for (OsType version : kInfVersions) {
        if (named == VersionOption(version))
            return version;
    }
    return OS_NONE;
}
}  // namespace

int RunSurvey(const Options& options, std::ostream& out, std::ostream& err) {
    std::vector<LibraryFolder> folders;
    std::string error;
    if (!WalkLibrary(options.library, folders, error))
        return Unusable(error, err);
    SurveySummary summary;
    Progress progress(err, folders.size());
    const bool json = options.json;
    SurveyLibrary(
        options.library, folders, SurveyReadingOf(options), JobsOf(options),
        [json](FolderSurvey& folder) {
            if (!json)
                return;
            std::ostringstream line;
            PrintSurveyFolderJson(folder, line);
            folder.printed = line.str();
        },
        [&](FolderSurvey& folder) {
            summary.Add(folder);
            out << folder.printed;
        },
        [&](std::size_t done) { progress.Show(done); });
    progress.Finish();
    if (options.json)
        PrintSurveySummaryJson(summary, out);
    else
        PrintSurveyText(options.library, summary, out);
    return summary.findingsByCode.empty() ? 0 : 1;
}

int RunMatch(const Options& options, std::ostream& out, std::ostream& err) {
    MachineSource machine;
    std::vector<LibraryFolder> folders;
    std::string error;
    if (!OpenMachine(options.registry, options.codePage, ChoiceOf(options), machine, error) ||
        !WalkLibrary(options.library, folders, error))
        return Unusable(error, err);
    const std::vector<PciBranch> branches = FindPciDevices(machine, options.codePage);
    const std::unordered_set<std::string> ids = MachineIds(branches);
    SurveyReading how = SurveyReadingOf(options);
    how.keepLinesOf = &ids;
    std::vector<LibraryLine> lines;
    Progress progress(err, folders.size());
    SurveyLibrary(
        options.library, folders, how, JobsOf(options), [](FolderSurvey&) {},
        [&](FolderSurvey& folder) {
            for (const SurveyedInf& inf : folder.infs) {
                std::string path = folder.folder.empty() ? "" : folder.folder + "/";
                for (char c : inf.file)
                    path += c == '\\' ? '/' : c;
                for (const LibraryDriver& driver : inf.drivers)
                    lines.push_back(LibraryLine{path, driver});
            }
        },
        [&](std::size_t done) { progress.Show(done); });
    progress.Finish();
    const std::vector<DeviceMatch> matches =
        MatchDevices(branches, lines, MatchVersion(options, machine));
    if (options.json)
        PrintMatchJson(options.registry, options.library, machine, matches, out);
    else
        PrintMatchText(options.registry, options.library, machine, matches, options.codePage, out);
    if (branches.empty())
        return kNoPciBranch;
    return std::all_of(matches.begin(), matches.end(),
                       [](const DeviceMatch& m) { return !m.candidates.empty(); })
               ? 0
               : 1;
}

int RunGen(const Options& options, std::ostream& out, std::ostream& err) {
    Package package;
    std::string error;
    if (!ReadPackageOf(options, package, error))
        return Unusable(error, err);
    const GeneratedKeyFile generated = GenerateKeyFile(package);
    PrintGenNotes(generated, options.output.empty() ? err : out);
    if (!generated.refusal.empty()) {
        err << "keycheck gen: nothing written: " << generated.refusal << "\n";
        return 1;
    }
    if (options.output.empty()) {
        WriteKeyFile(generated.text, out);
        return 0;
    }
    std::ofstream file(options.output, std::ios::binary);
    file << generated.text;
    file.close();
    if (!file)
        return Unusable(options.output + ": cannot be written", err);
    out << "keycheck gen: " << options.output << " written, " << generated.ids.size() << " IDs\n";
    return 0;
}

int RunDiskBuild(const Options& options, std::ostream& out, std::ostream& err) {
    std::error_code failure;
    if (!std::filesystem::is_directory(options.package, failure))
        return Unusable(options.package + ": not a folder", err);
    std::string error;
    if (!DiskToolsPresent(error))
        return Unusable(error, err);
    DiskBuild build{options.package,         options.floppy.empty() ? options.cd : options.floppy,
                    !options.floppy.empty(), !options.noJoliet,
                    options.f6Only,          options.label};
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
    DiskCheck check;
    std::string error;
    if (!CheckDiskImage(options.image, options.codePage, !options.noCatalogs, check, error))
        return Unusable(error, err);
    if (options.json)
        PrintDiskCheckJson(options, check, out);
    else
        PrintDiskCheckText(options, check, out);
    return DiskCheckStatus(check);
}
