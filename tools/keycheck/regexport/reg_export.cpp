// Reads a registry export (REGEDIT4, or version 5.00 in UTF-16LE) into the fake's registry.
#include "tools/keycheck/regexport/reg_export.h"

#include "sim/fake_os.h"
#include "tools/keycheck/regexport/control_set.h"
#include "tools/keycheck/regexport/reg_parser.h"
#include "tools/keycheck/regexport/system_hive.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace {
const struct {
    const char* text;
    RegFormat format;
} kHeaders[] = {{"REGEDIT4", RegFormat::Regedit4},
                {"Windows Registry Editor Version 5.00", RegFormat::Version5}};

bool ReadHeader(const std::string& line, RegFormat& format) {
    std::string text = line;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    for (const auto& header : kHeaders) {
        if (text == header.text) {
            format = header.format;
            return true;
        }
    }
    return false;
}
}  // namespace

std::string RegExportLabel(const RegExportSummary& summary) {
    if (summary.hive)
        return "SYSTEM hive file, " + summary.controlSet + " read as CurrentControlSet";
    const std::string set =
        summary.controlSet.empty() ? "" : ", " + summary.controlSet + " read as CurrentControlSet";
    if (summary.format == RegFormat::Regedit4 && summary.encoding == RegFileEncoding::Ansi)
        return "REGEDIT4" + set;
    const char* const encodings[] = {"ANSI", "UTF-8", "UTF-16LE"};
    return std::string(summary.format == RegFormat::Regedit4 ? "REGEDIT4" : "version 5.00") + " (" +
           encodings[static_cast<int>(summary.encoding)] + ")" + set;
}

const char* RegEncodingName(const RegExportSummary& summary) {
    switch (summary.encoding) {
    case RegFileEncoding::Utf16:
        return "UTF-16LE";
    case RegFileEncoding::Utf8:
        return "UTF-8";
    default:
        return summary.format == RegFormat::Regedit4 ? "REGEDIT4" : "ANSI";
    }
}

const char* RegFormatName(const RegExportSummary& summary) {
    if (summary.hive)
        return "hive";
    return summary.format == RegFormat::Regedit4 ? "REGEDIT4" : "5.00";
}

bool ReadRegExport(const std::string& bytes, const std::string& fileName, CFakeOs& machine,
                   RegExport& contents, std::string& error) {
    RegLineReader reader(bytes, machine.CodePage());
    RegLine line;
    RegFormat format = RegFormat::Regedit4;
    if (!reader.Next(line) || !ReadHeader(line.text, format)) {
        error = fileName + ":1: not a registry export: the first line must be REGEDIT4 or Windows "
                           "Registry Editor Version 5.00";
        return false;
    }
    RegParser parser(machine);
    try {
        while (reader.Next(line))
            parser.Line(line);
        parser.Finish();
    } catch (const RegSyntaxError& syntax) {
        error = fileName + ":" + std::to_string(line.number) + ": " + syntax.what;
        return false;
    }
    contents.tree = std::move(parser.tree);
    contents.summary.localMachineKeys = contents.tree.Count();  // the file's, not the copy's
    contents.summary.controlSet = MapCurrentControlSet(contents.tree);
    contents.summary.encoding = reader.Encoding();
    contents.summary.format = format;
    return true;
}

bool ReadRegExportFile(const std::string& path, CFakeOs& machine, RegExport& contents,
                       std::string& error) {
    std::error_code failure;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, failure))
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        error = path + ": cannot be read";
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (IsHiveFile(bytes))
        return ReadSystemHiveFile(path, machine.CodePage(), contents, error);
    return ReadRegExport(bytes, path, machine, contents, error);
}

bool AddRegExportToMachine(const std::string& bytes, const std::string& fileName, CFakeOs& machine,
                           RegExportSummary& summary, std::string& error) {
    RegExport contents;
    if (!ReadRegExport(bytes, fileName, machine, contents, error))
        return false;
    contents.tree.AddTo(machine);
    summary = contents.summary;
    return true;
}

bool AddRegExportFileToMachine(const std::string& path, CFakeOs& machine, RegExport& contents,
                               std::string& error) {
    if (!ReadRegExportFile(path, machine, contents, error))
        return false;
    contents.tree.AddTo(machine);
    return true;
}
