// Yardsticks for keycheck's whole-process benchmarks: the same input read and nothing more.
//
//   keycheck_yardsticks read-infs PACKAGE   the package read as every verb reads it, the INF of
//                                           each of the four versions among it, with no check
//   keycheck_yardsticks read-lines EXPORT   the export read and cut into lines in the code
//                                           page, with no grammar, keys or report
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/registry/reg_text.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "read-infs") {
        Package package;
        std::string error;
        if (!ReadPackage(argv[2], InfReading{}, package, error)) {
            std::cerr << error << "\n";
            return 2;
        }
        std::size_t lines = 0;
        for (const VersionInf& inf : package.infs)
            lines += inf.models.lines.size();
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
