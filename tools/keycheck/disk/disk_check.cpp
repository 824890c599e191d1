// keycheck disk check: an image read with its names as Windows reads them, checked as a package.
#include "tools/keycheck/disk/disk_check.h"

#include "tools/keycheck/disk/disk_image.h"
#include "tools/keycheck/disk/disk_tools.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

bool CheckDiskImage(const std::string& image, int codePage, bool readCatalogs, DiskCheck& check,
                    std::string& error) {
    if (!DiskToolsPresent(error)) {
        error = image + ": " + error;
        return false;
    }
    const std::string folder = MakeScratchFolder();
    if (folder.empty()) {
        error = "no temporary folder for the image";
        return false;
    }
    check = DiskCheck{};
    check.kind = DiskImageKind(image);
    Package package;
    std::string untidy;
    const bool read = ExtractDiskImage(image, folder, untidy, error) &&
                      ReadPackage(folder, InfReading{codePage, 0}, package, error);
    if (!untidy.empty())
        check.image.push_back(MakeFinding(Code::FatUntidy, "", 0,
                                          untidy + ": it would tidy the file system, though every "
                                                   "file reads"));
    if (read) {
        package.folder = image;
        check.keyFile = package.keyFile;
        check.f6File = package.hasF6File;
        if (check.keyFile.found) {
            check.lint = LintPackage(package, readCatalogs);
            check.xref = CrossCheck(package, readCatalogs);
        }
        check.f6 = CheckF6File(package, readCatalogs);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return read;
}

int DiskCheckStatus(const DiskCheck& check) {
    if (!check.keyFile.found && !check.f6File)
        return 1;
    return std::max({ExitStatus(check.lint.findings), ExitStatus(check.xref.findings),
                     ExitStatus(check.f6.findings)});
}
