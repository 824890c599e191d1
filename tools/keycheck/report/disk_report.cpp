// Prints the result of keycheck disk check, for people or as one JSON document.
#include "tools/keycheck/report/disk_report.h"

#include "tools/keycheck/report/lint_report.h"
#include "tools/keycheck/report/txtsetup_report.h"
#include "tools/keycheck/report/xref_report.h"

namespace {
const char* KindText(const std::string& kind) {
    if (kind == "floppy")
        return "a FAT floppy image, its long names";
    if (kind == "cd-joliet")
        return "an ISO 9660 CD image, its Joliet names";
    return "an ISO 9660 CD image without Joliet, its 8.3 names as Windows 98 SE to XP read them";
}

// The reports of the verbs run on the disk name the image where they would name a folder.
Options OnDisk(const Options& options) {
    Options onDisk = options;
    onDisk.package = options.image;
    return onDisk;
}
}  // namespace

void PrintDiskCheckText(const Options& options, const DiskCheck& check, std::ostream& out) {
    out << "keycheck disk check " << options.image << ": " << KindText(check.kind) << "\n\n";
    if (check.keyFile.found) {
        PrintLintText(OnDisk(options), check.keyFile, check.lint, out);
        out << "\n";
        PrintXrefText(options.image, check.xref, out);
        out << "\n";
    }
    if (check.f6File)
        PrintTxtSetupText(options.image, check.f6, out);
    else if (!check.keyFile.found)
        out << "no key.ini and no TXTSETUP.OEM on the disk: nothing of a driver package\n";
    for (const Finding& finding : check.image)
        out << "\nWarning about the image: " << finding.text << "  [" << CodeName(finding.code)
            << "]\n";
}

void PrintDiskCheckJson(const Options& options, const DiskCheck& check, std::ostream& out) {
    PrintJson(
        Json{{"command", "disk check"},
             {"image", JsonBytes(options.image)},
             {"kind", check.kind},
             {"lint", check.keyFile.found ? LintJson(OnDisk(options), check.keyFile, check.lint)
                                          : Json(nullptr)},
             {"xref", check.keyFile.found ? XrefJson(options.image, check.xref) : Json(nullptr)},
             {"txtsetup", check.f6File ? TxtSetupJson(options.image, check.f6) : Json(nullptr)},
             {"imageWarnings", FindingsJson(OfSeverity(check.image, Severity::Warning))},
             {"exitStatus", DiskCheckStatus(check)}},
        out);
}
