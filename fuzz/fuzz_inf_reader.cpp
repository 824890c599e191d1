// libFuzzer target: INF bytes through keycheck's INF reader and each version's models.
//
// Checks beyond "no crash": every finding and every entry names a line inside the file (or 0
// for the whole file), and reading the same bytes twice gives the same result.
#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_models.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "INF fuzzing: %s\n", what);
        std::abort();
    }
}

// The number of physical lines: line feeds in the file's own encoding, plus one.
int PhysicalLines(const std::string& bytes) {
    int lines = 1;
    const bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0;
    for (std::size_t i = utf16 ? 2 : 0; i < bytes.size(); i += utf16 ? 2 : 1) {
        if (bytes[i] == '\n' && (!utf16 || (i + 1 < bytes.size() && bytes[i + 1] == '\0')))
            ++lines;
    }
    return lines;
}

void AppendFinding(std::string& out, const Finding& finding, int lines) {
    Require(finding.line >= 0 && finding.line <= lines, "a finding names a line outside the file");
    out += std::string(CodeName(finding.code)) + ":" + std::to_string(finding.line) + ":" +
           finding.text + "\n";
}

// Everything the reader and the four versions make of bytes, as text.
std::string Reading(const std::string& bytes) {
    const int lines = PhysicalLines(bytes);
    const InfFile inf = ParseInf("drv\\f.inf", bytes);
    std::string out;
    if (inf.openError)
        AppendFinding(out, *inf.openError, lines);
    for (const Finding& finding : inf.findings)
        AppendFinding(out, finding, lines);
    for (const InfSection& section : inf.sections) {
        Require(section.line >= 1 && section.line <= lines, "a section starts outside the file");
        Require(inf.Section(section.name) == &section, "a section is not found by its own name");
        out += "[" + section.name + "]\n";
        for (const InfLine& line : section.lines) {
            Require(line.line > section.line && line.line <= lines,
                    "an entry starts outside its section or the file");
            Require(!line.fields.empty(), "an entry without a field");
            out += std::to_string(line.line) + (line.hasKey ? " " + line.key + " =" : "");
            for (const std::string& field : line.fields)
                out += " |" + field;
            out += "\n";
        }
    }
    for (OsType version : kInfVersions) {
        const InfModels models = ModelsForVersion(inf, version);
        for (const Finding& finding : models.findings)
            AppendFinding(out, finding, lines);
        for (const ModelLine& line : models.lines) {
            Require(line.line >= 1 && line.line <= lines, "a models line outside the file");
            Require(!line.hardwareId.empty() || !line.compatibleIds.empty(),
                    "a models line naming no ID");
            out += line.section + ":" + std::to_string(line.line) + " " + line.hardwareId + "\n";
        }
    }
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Require(Reading(bytes) == Reading(bytes), "the same bytes read twice differ");
    return 0;
}
