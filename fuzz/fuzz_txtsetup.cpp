// libFuzzer target: TXTSETUP.OEM bytes through keycheck's F6-file reader and its checks, on a
// package folder that also holds key.ini and the INF, so that the cross-check runs too.
//
// Checks beyond "no crash": every entry and every finding names a line inside the file; the
// same bytes read twice give the same findings.
#include "fuzz/reg_tree_dump.h"
#include "sim/app_runner.h"
#include "tools/keycheck/f6/f6_check.h"
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include <cstdint>
#include <string>

namespace {
std::string Findings(const std::string& bytes, long lines) {
    PackageFiles files;
    for (const auto& file : PackageFileList("A=VEN_1A2B&DEV_5820\r\n"))
        files.Add(file.first, file.second);
    files.Add("Drv\\hx5820.inf", "[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\n"
                                 "M\r\n[M]\r\nD = I, PCI\\VEN_1A2B&DEV_5821\r\n[I]\r\n");
    files.Add("TXTSETUP.OEM", bytes);
    Package package;
    std::string error;
    ReadPackageFiles(std::move(files), "f6", InfReading{}, package, error);
    std::string said;
    for (const Finding& finding : CheckF6File(package, true).findings) {
        FuzzRequire(finding.line >= 0 && finding.line <= lines, "txtsetup",
                    "a finding names a line outside the file");
        said += std::string(CodeName(finding.code)) + ":" + std::to_string(finding.line) + " " +
                finding.text + "\n";
    }
    return said;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    long lines = 1;
    for (char c : bytes)
        lines += c == '\n';
    for (const TxtSetupSection& section : ParseTxtSetup(bytes).sections) {
        FuzzRequire(section.line >= 1 && section.line <= lines, "txtsetup",
                    "a section names a line outside the file");
        for (const TxtSetupEntry& entry : section.entries)
            FuzzRequire(entry.line > section.line && entry.line <= lines, "txtsetup",
                        "an entry names a line outside its section's part of the file");
    }
    FuzzRequire(Findings(bytes, lines) == Findings(bytes, lines), "txtsetup",
                "the same bytes read twice give other findings");
    return 0;
}
