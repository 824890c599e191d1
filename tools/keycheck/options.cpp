// The command line of keycheck: its two commands and their options.
#include "tools/keycheck/options.h"

#include "tools/keycheck/windows_versions.h"

#include <set>

const char* const kUsage =
    "usage: keycheck lint PACKAGE_DIR [--codepage N] [--json]\n"
    "       keycheck predict PACKAGE_DIR --os VERSION --registry EXPORT.reg\n"
    "                        [--windir C:\\WINDOWS] [--dir D:\\] [--codepage N] [--json]\n"
    "\n"
    "lint     lists key.ini's entries as the launcher reads them, warns about each sharp\n"
    "         edge of the format, and checks that install.exe and the drv files are there\n"
    "predict  runs the launcher on the machine a registry export describes and tells, step\n"
    "         by step, what it would do there; nothing is written anywhere\n"
    "\n"
    "  --os VERSION      31, 95, 98, 98se, me, nt4, 2000, xp, 2003, vista or 10\n"
    "  --registry FILE   the machine's PCI keys, exported on it with\n"
    "                      regedit /e FILE HKEY_LOCAL_MACHINE\\Enum\\PCI      (98 SE, Me)\n"
    "                      reg export HKLM\\SYSTEM\\CurrentControlSet\\Enum\\PCI FILE  (XP)\n"
    "                    REGEDIT4 text or Windows Registry Editor Version 5.00 (UTF-16LE)\n"
    "  --windir DIR      the machine's Windows folder (default C:\\WINDOWS)\n"
    "  --dir DIR         the folder the package is run from there (default D:\\)\n"
    "  --codepage N      the machine's ANSI code page: 1252 (default), 932, 936, 949, 950\n"
    "  --json            one JSON document instead of the report for people\n"
    "\n"
    "exit status: 0 the launcher would install (lint: no warning); 1 it would refuse\n"
    "(lint: warnings); 2 the input could not be used\n";

namespace {
const int kCodePages[] = {1252, 932, 936, 949, 950};

bool SetValue(Options& options, const std::string& name, const std::string& value,
              std::string& error) {
    if (name == "--os") {
        if (FindWindowsVersion(value) == nullptr) {
            error = "unknown --os " + value + "; use one of " + WindowsVersionOptions();
            return false;
        }
        options.os = value;
    } else if (name == "--registry") {
        options.registry = value;
    } else if (name == "--windir") {
        options.windowsDir = value;
    } else if (name == "--dir") {
        options.dir = value;
    } else {
        options.codePage = 0;
        for (const int codePage : kCodePages) {
            if (value == std::to_string(codePage))
                options.codePage = codePage;
        }
        if (options.codePage == 0) {
            error = "unknown --codepage " + value + "; use 1252, 932, 936, 949 or 950";
            return false;
        }
    }
    return true;
}

bool CheckCommand(const Options& options, const std::set<std::string>& given, std::string& error) {
    if (options.package.empty()) {
        error = "the package folder is missing";
        return false;
    }
    if (options.command == Command::Predict) {
        if (options.os.empty() || options.registry.empty()) {
            error = "predict needs --os and --registry";
            return false;
        }
        return true;
    }
    for (const char* predictOnly : {"--os", "--registry", "--windir", "--dir"}) {
        if (given.count(predictOnly) != 0) {
            error = std::string(predictOnly) + " is an option of predict, not of lint";
            return false;
        }
    }
    return true;
}
}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        options.command = Command::Help;
        return true;
    }
    if (args[0] != "lint" && args[0] != "predict") {
        error = "unknown command " + args[0] + "; use lint or predict";
        return false;
    }
    options.command = args[0] == "lint" ? Command::Lint : Command::Predict;

    std::set<std::string> given;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg.compare(0, 2, "--") != 0) {
            if (!options.package.empty()) {
                error = "one package folder only; " + arg + " is one more";
                return false;
            }
            options.package = arg;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (name != "--os" && name != "--registry" && name != "--windir" && name != "--dir" &&
            name != "--codepage") {
            error = "unknown option " + name;
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (value.empty()) {
            error = name + " needs a value";
            return false;
        }
        if (!SetValue(options, name, value, error))
            return false;
        given.insert(name);
    }
    return CheckCommand(options, given, error);
}
