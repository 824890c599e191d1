// Running keycheck's xref and gen verbs: the cross-check and the generated key file, reported.
#include "tools/keycheck/xref/xref_verbs.h"

#include "sim/fake_os.h"
#include "tools/keycheck/predict/machine_setup.h"
#include "tools/keycheck/report/shown_text.h"
#include "tools/keycheck/xref/key_file_gen.h"
#include "tools/keycheck/xref/xref_report.h"

#include <cstdio>
#include <fstream>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {
void PrintGenNotes(const GeneratedKeyFile& generated, std::ostream& notes) {
    for (const XrefFinding& finding : generated.unreadable)
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

// Writes the key file's bytes to out unchanged. On Windows standard output is in text mode,
// which would turn each CR LF into CR CR LF: the launcher would then keep a CR in every ID.
void WriteKeyFile(const std::string& text, std::ostream& out) {
#ifdef _WIN32
    if (&out == &std::cout) {
        out.flush();
        const int mode = _setmode(_fileno(stdout), _O_BINARY);
        out << text;
        out.flush();
        _setmode(_fileno(stdout), mode);
        return;
    }
#endif
    out << text;
}
}  // namespace

int RunXref(Options options, std::ostream& out, std::ostream& err) {
    CFakeOs machine;
    std::string error;
    if (!SetUpPackage(options, machine, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    const XrefResult result = CrossCheck(machine, options.dir);
    if (options.json)
        PrintXrefJson(options.package, result, out);
    else
        PrintXrefText(options.package, result, out);
    return XrefStatus(result);
}

int RunGen(Options options, std::ostream& out, std::ostream& err) {
    CFakeOs machine;
    std::string error;
    if (!SetUpPackage(options, machine, error)) {
        err << "keycheck: " << error << "\n";
        return kUnusableInput;
    }
    const GeneratedKeyFile generated = GenerateKeyFile(machine, options.dir);
    std::ostream& notes = options.output.empty() ? err : out;
    PrintGenNotes(generated, notes);
    if (!generated.refusal.empty()) {
        err << "keycheck gen: nothing written: " << generated.refusal << "\n";
        return 1;
    }
    if (options.output.empty()) {
        WriteKeyFile(generated.text, out);
        return 0;
    }
    std::ofstream file(options.output, std::ios::binary);
    file << generated.text;
    file.close();
    if (!file) {
        err << "keycheck: " << options.output << ": cannot be written\n";
        return kUnusableInput;
    }
    out << "keycheck gen: " << options.output << " written, " << generated.ids.size() << " IDs\n";
    return 0;
}
