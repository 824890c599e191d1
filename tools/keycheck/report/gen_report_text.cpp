// Prints what keycheck gen tells beside the key file it writes: the IDs it left out and why.
#include "tools/keycheck/report/gen_report.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/shown_text.h"

void PrintGenNotes(const GeneratedKeyFile& generated, std::ostream& notes) {
    for (const Finding& finding : generated.unreadable)
        notes << "keycheck gen: " << finding.file
              << (finding.line > 0 ? ":" + std::to_string(finding.line) : "") << ": "
              << finding.text << " [" << finding.versions[0] << "]\n";
    // Five IDs a line, so that a long list stays readable.
    const std::size_t kIdsPerLine = 5;
    for (const VersionLack& lack : generated.lacks) {
        notes << "keycheck gen: the models " << VersionLabel(lack.version) << " reads lack";
        if (lack.ids.size() > kIdsPerLine)
            notes << " " << Counted(lack.ids.size(), "ID", "IDs") << ":";
        for (std::size_t i = 0; i < lack.ids.size(); ++i)
            notes << (lack.ids.size() > kIdsPerLine && i % kIdsPerLine == 0 ? "\n   " : "") << " "
                  << lack.ids[i];
        notes << "\n";
    }
    for (const std::string& id : generated.skipped)
        notes << "keycheck gen: " << id << " names no single device; left out\n";
}
