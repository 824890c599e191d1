// Reads a registry export (REGEDIT4 or version 5.00, in any encoding) into a key tree.
#include "tools/keycheck/registry/reg_export.h"

#include "tools/keycheck/registry/reg_parser.h"

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

bool ReadRegExport(const std::string& bytes, const std::string& fileName, int codePage,
                   RegExport& contents, std::string& error) {
    RegLineReader reader(bytes, codePage);
    RegLine line;
    RegFormat format = RegFormat::Regedit4;
    if (!reader.Next(line) || !ReadHeader(line.text, format)) {
        error = fileName + ":1: not a registry export: the first line must be REGEDIT4 or Windows "
                           "Registry Editor Version 5.00";
        return false;
    }
    RegParser parser(codePage, format);
    try {
        while (reader.Next(line))
            parser.Line(line);
        parser.Finish();
    } catch (const RegSyntaxError& syntax) {
        error = fileName + ":" + std::to_string(line.number) + ": " + syntax.what;
        return false;
    }
    contents.tree = std::move(parser.tree);
    contents.encoding = reader.Encoding();
    contents.format = format;
    return true;
}
