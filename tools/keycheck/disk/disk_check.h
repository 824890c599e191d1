// keycheck disk check: a floppy or CD image someone made, read with its names as Windows reads
// them, and checked as a package is: lint, xref and the F6 checks on what it holds.
//
// Thread rule: any thread; each check extracts into a scratch folder of its own.
#pragma once

#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/lint/lint.h"
#include "tools/keycheck/xref/xref.h"

#include <string>

struct DiskCheck {
    std::string kind;     // "floppy", "cd-joliet" or "cd" (ISO 9660 names only)
    KeyFile keyFile;      // found when the disk holds key.ini, by any case: lint and xref were run
    bool f6File = false;  // it holds TXTSETUP.OEM: the F6 checks were run
    LintResult lint;
    XrefResult xref;
    F6Check f6;
    std::vector<Finding> image;  // about the image itself: fat-untidy
};

// Reads the image and checks what it holds, in codePage. A damaged or cut-short image, or a
// file that is no disk image, returns false with a one-line error naming it.
bool CheckDiskImage(const std::string& image, int codePage, bool readCatalogs, DiskCheck& check,
                    std::string& error);

// 0 no finding, 1 findings, or a disk with neither key.ini nor TXTSETUP.OEM.
int DiskCheckStatus(const DiskCheck& check);
