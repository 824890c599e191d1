// What keycheck's command line asks for: the verb and its options.
//
// Thread rule: a value.
#pragma once

#include <string>

// The exit status of every verb when its input cannot be used: a package folder or export that
// cannot be read, or a wrong command line.
const int kUnusableInput = 2;

struct Options {
    std::string verb;      // as typed: "lint", "disk build"
    std::string package;   // the package folder on this computer
    std::string os;        // predict: an --os name
    std::string registry;  // predict: --registry; devices: the machine
    // --windir: the machine's Windows folder; "" when not given (C:\WINDOWS, or the folder a
    // disk image holds). On a disk image with several, it chooses one.
    std::string windowsDir;
    int partition = 0;         // --partition: on a disk image, the partition to read; 0: not given
    std::string controlSet;    // --control-set: ControlSetNNN to read where nothing says which
    std::string dir = "D:\\";  // the folder the package runs from on the machine
    int codePage = 1252;
    int language =
        0;  // --language: the LANGID whose [Strings.LanguageID] INFs give; 0: the code page's
    bool json = false;
    bool noCatalogs = false;  // --no-catalogs: the catalogs are not read
    std::string output;       // gen: -o, the file to write
    std::string library;      // survey, match: the driver library's folder
    int jobs = 0;             // survey, match: --jobs, folders checked side by side; 0: the cores
    // disk build: --floppy or --cd, the image to write; disk check: the image to read.
    std::string floppy, cd, image, label;
    bool noJoliet = false;  // disk build --cd: ISO 9660 names only
    bool f6Only = false;    // disk build --floppy: the F6 floppy alone
};
