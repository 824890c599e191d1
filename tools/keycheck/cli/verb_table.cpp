// keycheck's verbs in one table, with the options each one takes.
#include "tools/keycheck/cli/verb_table.h"

#include "sim/ansi_names.h"
#include "tools/keycheck/cli/runs.h"
#include "tools/keycheck/predict/version_names.h"

#include <CLI/CLI.hpp>

#include <iterator>
#include <string>

namespace {
const char* const kRegistryHelp =
    "the machine: its PCI keys exported on it with\n"
    "  regedit /e FILE HKEY_LOCAL_MACHINE\\Enum\\PCI      (98 SE, Me)\n"
    "  reg export HKLM\\SYSTEM\\CurrentControlSet\\Enum\\PCI FILE  (2000, XP)\n"
    "(REGEDIT4 text or Windows Registry Editor Version 5.00), or its registry file itself\n"
    "(98/Me's SYSTEM.DAT, 2000/XP's system32\\config\\SYSTEM), or the disk image that holds\n"
    "one (raw, VHD, VMDK, qcow2; a virtual machine's disk)";

// Where the machine leaves a choice: the partition and Windows folder of a disk image, the
// control set of an export of several.
void AddMachineChoice(CLI::App& verb, Options& options) {
    verb.add_option("--windir", options.windowsDir,
                    "the machine's Windows folder (C:\\WINDOWS unless a disk image holds "
                    "another); on a disk image with several, the one to read");
    verb.add_option("--partition", options.partition,
                    "on a disk image with Windows on several partitions, the one to read, "
                    "numbered from 1 as keycheck lists them")
        ->check(CLI::Range(1, 128));
    verb.add_option("--control-set", options.controlSet,
                    "ControlSet001, ControlSet002 ... (or 1, 2 ...): the control set to read "
                    "where the export or hive holds several and no Select says which");
}

void AddCodePage(CLI::App& verb, Options& options) {
    std::string listed;
    for (int codePage : kAnsiCodePages)
        listed += (listed.empty() ? "" : ", ") + std::to_string(codePage);
    verb.add_option("--codepage", options.codePage, "the machine's ANSI code page: " + listed)
        ->check(
            CLI::IsMember(std::vector<int>(std::begin(kAnsiCodePages), std::end(kAnsiCodePages))))
        ->capture_default_str();
}

// The language whose [Strings.LanguageID] a machine's INF reading takes: a LANGID in hex, as
// the section names write it (0411 Japanese); where one code page serves several languages.
void AddLanguage(CLI::App& verb, Options& options) {
    verb.add_option_function<std::string>(
            "--language",
            [&options](const std::string& text) {
                options.language = static_cast<int>(std::stoul(text, nullptr, 16));
            },
            "the machine's language as a hexadecimal LANGID, as [Strings.LanguageID] names it "
            "(0409, 0411, 0804, 0412, 0404, 040C...); the default is the code page's own")
        ->check(CLI::Validator(
            [](std::string& text) {
                const bool hex =
                    text.size() == 4 &&
                    text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
                return hex && std::stoul(text, nullptr, 16) != 0
                           ? std::string()
                           : "a LANGID is four hexadecimal digits, such as 0411";
            },
            "LANGID"));
}

void AddPackageDir(CLI::App& verb, Options& options) {
    verb.add_option("PACKAGE_DIR", options.package, "the driver package folder")->required();
}

void AddJson(CLI::App& verb, Options& options) {
    verb.add_flag("--json", options.json, "one JSON document instead of the report for people");
}

void AddNoCatalogs(CLI::App& verb, Options& options) {
    verb.add_flag("--no-catalogs", options.noCatalogs,
                  "leave the catalogs unread: say only which one each INF names and whether the "
                  "package holds it (keycheck.exe reads none)");
}

void LintOptions(CLI::App& lint, Options& options) {
    AddPackageDir(lint, options);
    AddCodePage(lint, options);
    AddNoCatalogs(lint, options);
    AddJson(lint, options);
}

void PredictOptions(CLI::App& predict, Options& options) {
    AddPackageDir(predict, options);
    const CLI::Validator version(
        [](std::string& name) {
            return WindowsVersionByOption(name) != nullptr
                       ? std::string()
                       : "unknown version " + name + "; use one of " + WindowsVersionOptions();
        },
        "VERSION");
    predict
        .add_option("--os", options.os,
                    "the machine's Windows: " + WindowsVersionOptions() +
                        "; without it, the version the machine's registry records")
        ->check(version);
    predict.add_option("--registry", options.registry, kRegistryHelp)->required();
    AddMachineChoice(predict, options);
    predict.add_option("--dir", options.dir, "the folder the package is run from there")
        ->capture_default_str();
    AddCodePage(predict, options);
    AddLanguage(predict, options);
    AddNoCatalogs(predict, options);
    AddJson(predict, options);
}

void DevicesOptions(CLI::App& devices, Options& options) {
    devices.add_option("MACHINE", options.registry, kRegistryHelp)->required();
    devices.add_option("--package", options.package, "the driver package folder");
    AddMachineChoice(devices, options);
    AddCodePage(devices, options);
    AddLanguage(devices, options);
    AddJson(devices, options);
}

void XrefOptions(CLI::App& xref, Options& options) {
    AddPackageDir(xref, options);
    AddCodePage(xref, options);
    AddLanguage(xref, options);
    AddNoCatalogs(xref, options);
    AddJson(xref, options);
    xref.footer("exit status: 0 no finding (warnings allowed), 1 findings, 2 the package could not "
                "be used");
}

void GenOptions(CLI::App& gen, Options& options) {
    AddPackageDir(gen, options);
    AddCodePage(gen, options);
    AddLanguage(gen, options);
    gen.add_option("-o,--output", options.output, "the file to write; standard output without");
    gen.footer("exit status: 0 written, 1 refused (no ID, or more than the launcher's 40), 2 "
               "the package could not be used or the file not written");
}

void TxtSetupOptions(CLI::App& txtsetup, Options& options) {
    txtsetup.add_option("DIR", options.package, "the package or F6 floppy folder")->required();
    AddCodePage(txtsetup, options);
    AddNoCatalogs(txtsetup, options);
    AddJson(txtsetup, options);
    txtsetup.footer("exit status: 0 no finding (warnings allowed), 1 findings, 2 the folder "
                    "could not be used or holds no TXTSETUP.OEM");
}

void DiskBuildOptions(CLI::App& build, Options& options) {
    build.add_option("PACKAGE_DIR", options.package, "the driver package folder")->required();
    CLI::Option* floppy = build.add_option("--floppy", options.floppy, "the floppy image to write");
    CLI::Option* cd = build.add_option("--cd", options.cd, "the CD image to write");
    floppy->excludes(cd);
    build.add_option("--label", options.label, "the volume label (DRIVERS without one)");
    build
        .add_flag("--no-joliet", options.noJoliet,
                  "a CD with ISO 9660 names only, as mkisofs without -J makes one")
        ->needs(cd);
    build
        .add_flag("--f6", options.f6Only,
                  "a floppy of TXTSETUP.OEM, its tag files and the files it names only")
        ->needs(floppy);
    build.footer("exit status: 0 written, 1 refused (nothing written), 2 the package could not "
                 "be read or the tools are missing");
    build.callback([floppy, cd]() {
        if (floppy->count() == 0 && cd->count() == 0)
            throw CLI::ValidationError("disk build",
                                       "--floppy OUT.img or --cd OUT.iso is required");
    });
}

void CatalogOptions(CLI::App& catalog, Options& options) {
    catalog
        .add_option("DIR", options.package,
                    "a launcher package or any driver folder, or one catalog (.cat) alone")
        ->required();
    AddCodePage(catalog, options);
    AddJson(catalog, options);
    catalog.footer("exit status: 0 no finding (warnings allowed), 1 findings, 2 the folder could "
                   "not be used, a catalog given alone cannot be read, or this keycheck reads no "
                   "catalogs");
}

void AddJobs(CLI::App& verb, Options& options) {
    verb.add_option("--jobs", options.jobs,
                    "the folders checked side by side (the machine's cores without it)")
        ->check(CLI::Range(1, 256));
}

void SurveyOptions(CLI::App& survey, Options& options) {
    survey.add_option("LIBRARY", options.library, "the driver library's folder")->required();
    AddCodePage(survey, options);
    AddJobs(survey, options);
    AddNoCatalogs(survey, options);
    survey.add_flag("--json", options.json,
                    "JSON Lines: one object a folder, in path order, then {\"summary\": ...}");
    survey.footer("exit status: 0 no finding in any folder (warnings allowed), 1 findings, 2 the "
                  "library is no folder");
}

void MatchOptions(CLI::App& match, Options& options) {
    match.add_option("MACHINE", options.registry, kRegistryHelp)->required();
    match.add_option("LIBRARY", options.library, "the driver library's folder")->required();
    const CLI::Validator version(
        [](std::string& name) {
            return name == "98se" || name == "me" || name == "2000" || name == "xp"
                       ? std::string()
                       : "match ranks drivers as 98se, me, 2000 or xp do; not " + name;
        },
        "VERSION");
    match
        .add_option("--os", options.os,
                    "the version whose Setup ranks the drivers: 98se, me, 2000 or xp; without "
                    "it, the one the machine records, else both of its branch's family")
        ->check(version);
    AddMachineChoice(match, options);
    AddCodePage(match, options);
    AddJobs(match, options);
    AddNoCatalogs(match, options);
    AddJson(match, options);
    match.footer("exit status: 0 every device has a driver in the library, 1 a device has none "
                 "(or the machine holds no PCI branch), 2 the machine or the library could not "
                 "be used");
}

void DiskCheckOptions(CLI::App& check, Options& options) {
    check.add_option("IMAGE", options.image, "the floppy or CD image")->required();
    AddCodePage(check, options);
    AddNoCatalogs(check, options);
    AddJson(check, options);
    check.footer("exit status: 0 no finding, 1 findings, 2 a damaged or cut-short image, or "
                 "one that is no disk image");
}
}  // namespace

const Verb kVerbs[] = {
    {"lint",
     "lists key.ini's entries as the launcher reads them, reports each sharp edge of the format, "
     "and checks that install.exe and the drv files are there",
     LintOptions, RunLint, true, true, true, "sample/package"},
    {"predict",
     "runs the launcher on the machine a registry export describes and tells, step by step, "
     "what it would do there; nothing is written anywhere",
     PredictOptions, RunPredict, true, true, true,
     "sample/package --os xp --registry sample/machine-xp.reg"},
    {"devices",
     "lists the PCI devices of a registry export with their hardware and compatible IDs; with "
     "--package, the key.ini entry each one matches and the INF line that would install it",
     DevicesOptions, RunDevices, true, true, false,
     "sample/machine-98se.reg --package sample/package"},
    {"xref",
     "for Windows 98 SE, Me, 2000 and XP, reads the INF the launcher gives that version and "
     "checks every key.ini entry against the models it reads, and every PCI ID of those models "
     "against key.ini",
     XrefOptions, RunXref, true, true, true, "sample/package"},
    {"gen",
     "writes a key.ini listing VEN_xxxx&DEV_xxxx of every PCI device the models of the four "
     "versions' INF files name; says which version lacks which",
     GenOptions, RunGen, false, true, false, "sample/package"},
    {"txtsetup",
     "checks the TXTSETUP.OEM of a package or an F6 floppy's folder by the rules Windows 2000 "
     "and XP text-mode setup goes by, and its PCI IDs against key.ini and the models 2000 and XP "
     "read",
     TxtSetupOptions, RunTxtSetup, true, true, true, "sample/package"},
    {"catalog",
     "for Windows 2000 and XP, reads the catalog each INF names as Windows does: the hashes of the "
     "INF and of every file it copies, the signature and its signer, the versions it admits; "
     "and says whether each version treats the driver as signed",
     CatalogOptions, RunCatalog, true, false, false, "sample/package"},
    {"survey",
     "every folder of a driver library that holds an INF or TXTSETUP.OEM, checked as a package "
     "is: each INF's signature, class, provider, DriverVer, the versions that read it and their "
     "IDs, the files it copies that the folder lacks, its catalog, the F6 file; folders side by "
     "side",
     SurveyOptions, RunSurvey, true, true, true, "sample"},
    {"match",
     "each PCI device of a machine against a driver library: every INF line that would install "
     "it, ranked as that version's Setup ranks drivers, and the one it would choose",
     MatchOptions, RunMatch, true, true, true, "sample/machine-xp.reg sample"},
    {"disk build",
     "writes a 1,474,560-byte FAT12 floppy image or an ISO 9660 CD image with Joliet names of "
     "the package, with fixed times (the same package gives the same bytes); refuses, with the "
     "sizes, a package that does not fit, and names the medium would change",
     DiskBuildOptions, RunDiskBuild, false, false, false, "sample/package --f6 --floppy f6.img"},
    {"disk check",
     "reads a floppy or CD image with its names as Windows reads them, and runs lint, xref and "
     "txtsetup on what it holds",
     DiskCheckOptions, RunDiskCheck, true, false, true, "f6.img"},
};
const std::size_t kVerbCount = std::size(kVerbs);

const VerbGroup kVerbGroups[] = {
    {"disk", "makes the floppy or CD image the package ships on, or checks an image"}};
const std::size_t kVerbGroupCount = std::size(kVerbGroups);

const Verb* FindVerb(const std::string& name) {
    for (const Verb& verb : kVerbs) {
        if (name == verb.name)
            return &verb;
    }
    return nullptr;
}

void PrintVerbList(std::ostream& out) {
    for (const Verb& verb : kVerbs)
        out << verb.name << "\t" << (verb.json ? "json" : "text") << "\t"
            << (verb.onWindows ? "windows" : "host") << "\t"
            << (verb.catalogOption ? "no-catalogs" : "-") << "\t" << verb.example << "\n";
}
