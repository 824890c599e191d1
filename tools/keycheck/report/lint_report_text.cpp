// Prints the result of keycheck lint for people.
#include "tools/keycheck/report/lint_report.h"

#include "device/device_id_table.h"
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/text/shown_text.h"

namespace {
void PrintEntries(const KeyFile& result, int codePage, std::ostream& out) {
    out << "key.ini: " << result.bytes.size() << " bytes";
    if (result.text.size() != result.bytes.size())
        out << ", of which the launcher reads the " << result.text.size()
            << " before the first NUL";
    out << "; " << Counted(result.entries.size(), "entry", "entries")
        << " (the launcher keeps the first " << kMaxDeviceIds << ", of at most "
        << kDeviceIdSize - 1 << " bytes each)\n";
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        const KeyEntry& entry = result.entries[i];
        out << "  #" << i + 1 << "  offset " << entry.valueOffset << " (line " << entry.line
            << ")  " << Shown(entry.name, codePage) << "=\"" << Shown(entry.value, codePage)
            << "\"";
        if (i >= result.table.size())
            out << "  ignored";
        else if (result.table[i] != entry.value)
            out << "  stored empty";
        out << "\n";
    }
}

void PrintFiles(const LintResult& result, std::ostream& out) {
    out << "\npackage files the launcher uses (names compared without regard to case):\n";
    for (const PackageFileCheck& file : result.files) {
        out << "  " << (file.present ? "present  " : "MISSING  ") << file.path;
        for (std::size_t pad = file.path.size(); pad < 20; ++pad)
            out << ' ';
        out << "  " << file.usedBy << "\n";
    }
}
}  // namespace

std::string LintFindingText(const Finding& finding) {
    if (finding.file == kF6FileName)
        return finding.file + (finding.line > 0 ? ":" + std::to_string(finding.line) : "") + ": " +
               finding.text;
    return finding.text;
}

void PrintLintText(const Options& options, const KeyFile& keyFile, const LintResult& result,
                   std::ostream& out) {
    out << "keycheck lint " << options.package << "  (ANSI code page " << options.codePage
        << ")\n\n";
    if (keyFile.found)
        PrintEntries(keyFile, options.codePage, out);
    else
        out << "key.ini: cannot be read\n";
    PrintFiles(result, out);

    const std::size_t count = result.findings.size();
    if (count == 0) {
        out << "\nno findings\n";
        return;
    }
    out << "\n" << Counted(count, "finding", "findings") << ":\n";
    for (const Finding& finding : result.findings) {
        out << "  ";
        if (finding.offset >= 0)
            out << "key.ini:" << finding.line << " (offset " << finding.offset << "): ";
        out << LintFindingText(finding) << "  [" << CodeName(finding.code) << "]\n";
    }
}
