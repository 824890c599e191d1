// Yardsticks for keycheck's whole-process benchmarks: the same input read and nothing more.
//
//   keycheck_yardsticks read-infs PACKAGE   the INF of each of the four versions, read as xref
//                                           reads them, with no cross-check
//   keycheck_yardsticks read-lines EXPORT   the export read and cut into lines in the code
//                                           page, with no grammar, keys or report
#include "sim/fake_os.h"
#include "tools/keycheck/cli/machine_setup.h"
#include "tools/keycheck/inf/version_inf.h"
#include "tools/keycheck/options/options.h"
#include "tools/keycheck/regexport/reg_text.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "read-infs") {
        Options options;
        options.package = argv[2];
        CFakeOs machine;
        const FakeOsInstalled installed(machine);
        std::string error;
        if (!SetUpPackage(options, machine, error)) {
            std::cerr << error << "\n";
            return 2;
        }
        std::size_t lines = 0;
        for (OsType version : kInfVersions)
            lines += ReadVersionInf(machine, options.dir, version).models.lines.size();
        std::cout << lines << " models lines\n";
        return 0;
    }
    if (mode == "read-lines") {
        std::ifstream file(argv[2], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        RegLineReader reader(bytes, 1252);
        RegLine line;
        std::size_t lines = 0;
        while (reader.Next(line))
            ++lines;
        std::cout << lines << " lines\n";
        return 0;
    }
    std::cerr << "usage: keycheck_yardsticks read-infs PACKAGE | read-lines EXPORT\n";
    return 2;
}
