// keycheck's command line, read with CLI11: one subcommand per verb, each with --help.
#include "tools/keycheck/cli/command_line.h"

#include "tools/keycheck/predict/version_names.h"

#include "sim/ansi_names.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iterator>

namespace {
const char* const kExitStatus =
    "exit status: 0 the launcher would install, or no finding (devices: the export was read);\n"
    "1 it would refuse, or findings; 2 the input could not be used; a warning never changes it";

const char* const kRegistryHelp =
    "the machine's PCI keys, exported on it with\n"
    "  regedit /e FILE HKEY_LOCAL_MACHINE\\Enum\\PCI      (98 SE, Me)\n"
    "  reg export HKLM\\SYSTEM\\CurrentControlSet\\Enum\\PCI FILE  (2000, XP)\n"
    "REGEDIT4 text or Windows Registry Editor Version 5.00 (UTF-16LE)";

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

CLI::App* AddLint(CLI::App& app, Options& options) {
    CLI::App* lint = app.add_subcommand(
        "lint", "lists key.ini's entries as the launcher reads them, reports each sharp edge of "
                "the format, and checks that install.exe and the drv files are there");
    AddPackageDir(*lint, options);
    AddCodePage(*lint, options);
    AddJson(*lint, options);
    return lint;
}

CLI::App* AddPredict(CLI::App& app, Options& options) {
    CLI::App* predict = app.add_subcommand(
        "predict", "runs the launcher on the machine a registry export describes and tells, step "
                   "by step, what it would do there; nothing is written anywhere");
    AddPackageDir(*predict, options);
    const CLI::Validator version(
        [](std::string& name) {
            return WindowsVersionByOption(name) != nullptr
                       ? std::string()
                       : "unknown version " + name + "; use one of " + WindowsVersionOptions();
        },
        "VERSION");
    predict->add_option("--os", options.os, "the machine's Windows: " + WindowsVersionOptions())
        ->required()
        ->check(version);
    predict->add_option("--registry", options.registry, kRegistryHelp)->required();
    predict->add_option("--windir", options.windowsDir, "the machine's Windows folder")
        ->capture_default_str();
    predict->add_option("--dir", options.dir, "the folder the package is run from there")
        ->capture_default_str();
    AddCodePage(*predict, options);
    AddLanguage(*predict, options);
    AddJson(*predict, options);
    return predict;
}

CLI::App* AddDevices(CLI::App& app, Options& options) {
    CLI::App* devices = app.add_subcommand(
        "devices", "lists the PCI devices of a registry export with their hardware and "
                   "compatible IDs; with --package, the key.ini entry each one matches and "
                   "the INF line that would install it");
    devices->add_option("EXPORT", options.registry, kRegistryHelp)->required();
    devices->add_option("--package", options.package, "the driver package folder");
    AddCodePage(*devices, options);
    AddLanguage(*devices, options);
    AddJson(*devices, options);
    return devices;
}

CLI::App* AddXref(CLI::App& app, Options& options) {
    CLI::App* xref = app.add_subcommand(
        "xref", "for Windows 98 SE, Me, 2000 and XP, reads the INF the launcher gives that "
                "version and checks every key.ini entry against the models it reads, and every "
                "PCI ID of those models against key.ini");
    AddPackageDir(*xref, options);
    AddCodePage(*xref, options);
    AddLanguage(*xref, options);
    AddJson(*xref, options);
    xref->footer(
        "exit status: 0 no finding (warnings allowed), 1 findings, 2 the package could not "
        "be used");
    return xref;
}

CLI::App* AddGen(CLI::App& app, Options& options) {
    CLI::App* gen = app.add_subcommand(
        "gen", "writes a key.ini listing VEN_xxxx&DEV_xxxx of every PCI device the models of "
               "the four versions' INF files name; says which version lacks which");
    AddPackageDir(*gen, options);
    AddCodePage(*gen, options);
    AddLanguage(*gen, options);
    gen->add_option("-o,--output", options.output, "the file to write; standard output without");
    gen->footer("exit status: 0 written, 1 refused (no ID, or more than the launcher's 40), 2 "
                "the package could not be used or the file not written");
    return gen;
}

CLI::App* AddTxtSetup(CLI::App& app, Options& options) {
    CLI::App* txtsetup = app.add_subcommand(
        "txtsetup", "checks the TXTSETUP.OEM of a package or an F6 floppy's folder by the rules "
                    "Windows 2000 and XP text-mode setup goes by, and its PCI IDs against key.ini "
                    "and the models 2000 and XP read");
    txtsetup->add_option("DIR", options.package, "the package or F6 floppy folder")->required();
    AddCodePage(*txtsetup, options);
    AddJson(*txtsetup, options);
    txtsetup->footer("exit status: 0 no finding (warnings allowed), 1 findings, 2 the folder "
                     "could not be used or holds no TXTSETUP.OEM");
    return txtsetup;
}

// keycheck disk build and disk check: two verbs below one.
std::vector<std::pair<CLI::App*, Command>> AddDisk(CLI::App& app, Options& options) {
    CLI::App* disk = app.add_subcommand(
        "disk", "makes the floppy or CD image the package ships on, or checks an image");
    disk->require_subcommand(1);
    CLI::App* build = disk->add_subcommand(
        "build", "writes a 1,474,560-byte FAT12 floppy image or an ISO 9660 CD image with "
                 "Joliet names of the package, with fixed times (the same package gives the "
                 "same bytes); refuses, with the sizes, a package that does not fit, and names "
                 "the medium would change");
    build->add_option("PACKAGE_DIR", options.package, "the driver package folder")->required();
    CLI::Option* floppy =
        build->add_option("--floppy", options.floppy, "the floppy image to write");
    CLI::Option* cd = build->add_option("--cd", options.cd, "the CD image to write");
    floppy->excludes(cd);
    build->add_option("--label", options.label, "the volume label (DRIVERS without one)");
    build
        ->add_flag("--no-joliet", options.noJoliet,
                   "a CD with ISO 9660 names only, as mkisofs without -J makes one")
        ->needs(cd);
    build
        ->add_flag("--f6", options.f6Only,
                   "a floppy of TXTSETUP.OEM, its tag files and the files it names only")
        ->needs(floppy);
    build->footer("exit status: 0 written, 1 refused (nothing written), 2 the package could not "
                  "be read");
    CLI::App* check = disk->add_subcommand(
        "check", "reads a floppy or CD image with its names as Windows reads them, and runs "
                 "lint, xref and txtsetup on what it holds");
    check->add_option("IMAGE", options.image, "the floppy or CD image")->required();
    AddCodePage(*check, options);
    check->footer("exit status: 0 no finding, 1 findings, 2 a damaged or cut-short image, or "
                  "one that is no disk image");
    return {{build, Command::DiskBuild}, {check, Command::DiskCheck}};
}

// CLI11's message on one line.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}
}  // namespace

ParseOutcome ParseCommandLine(const std::vector<std::string>& args, Options& options,
                              std::ostream& out, std::string& error) {
    CLI::App app("keycheck: checks a driver package the way the launcher reads it", "keycheck");
    app.require_subcommand(1);
    app.set_version_flag("--version", "keycheck " KEYCHECK_VERSION);
    app.footer(kExitStatus);
    const struct {
        CLI::App* verb;
        Command command;
    } verbs[] = {{AddLint(app, options), Command::Lint},
                 {AddPredict(app, options), Command::Predict},
                 {AddDevices(app, options), Command::Devices},
                 {AddXref(app, options), Command::Xref},
                 {AddGen(app, options), Command::Gen},
                 {AddTxtSetup(app, options), Command::TxtSetup}};
    const std::vector<std::pair<CLI::App*, Command>> diskVerbs = AddDisk(app, options);
    // CLI11 would call an unknown verb a missing one.
    if (!args.empty() && args[0].rfind('-', 0) != 0 && args[0] != "disk" &&
        std::none_of(std::begin(verbs), std::end(verbs),
                     [&](const auto& verb) { return verb.verb->get_name() == args[0]; })) {
        error = "unknown command " + args[0];
        return ParseOutcome::Failed;
    }
    // CLI11 takes the arguments from the back of the vector.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return ParseOutcome::Helped;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << "\n";
        return ParseOutcome::Helped;
    } catch (const CLI::ParseError& failure) {
        error = OneLine(failure.what());
        return ParseOutcome::Failed;
    }
    for (const auto& verb : verbs) {
        if (verb.verb->parsed())
            options.command = verb.command;
    }
    for (const auto& verb : diskVerbs) {
        if (verb.first->parsed())
            options.command = verb.second;
    }
    if (options.command == Command::DiskBuild && options.floppy.empty() && options.cd.empty()) {
        error = "disk build: --floppy OUT.img or --cd OUT.iso is required";
        return ParseOutcome::Failed;
    }
    return ParseOutcome::Run;
}
