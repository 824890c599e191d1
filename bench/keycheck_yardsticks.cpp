// Yardsticks for keycheck's whole-process benchmarks: the same input read and nothing more.
//
//   keycheck_yardsticks read-infs PACKAGE   the package read as every verb reads it, the INF of
//                                           each of the four versions among it, with no check
//   keycheck_yardsticks read-lines EXPORT   the export read and cut into lines in the code
//                                           page, with no grammar, keys or report
//   keycheck_yardsticks read-tree DIR JOBS  every file below the folder read whole, JOBS
//                                           threads at a time, with nothing made of it
#include "tools/keycheck/package/package.h"
#include "tools/keycheck/registry/reg_text.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {
int ReadTree(const std::string& root, int jobs) {
    std::vector<std::string> files;
    std::error_code failure;
    for (std::filesystem::recursive_directory_iterator it(root, failure), end;
         !failure && it != end; it.increment(failure)) {
        if (it->is_regular_file(failure))
            files.push_back(it->path().string());
    }
    std::atomic<std::size_t> next{0}, bytes{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < jobs; ++t)
        threads.emplace_back([&]() {
            std::vector<char> buffer(1 << 16);
            for (std::size_t i = next++; i < files.size(); i = next++) {
                std::ifstream in(files[i], std::ios::binary);
                while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
                       in.gcount() > 0)
                    bytes += static_cast<std::size_t>(in.gcount());
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    std::cout << files.size() << " files, " << bytes << " bytes\n";
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "read-tree")
        return ReadTree(argv[2], std::max(1, std::atoi(argv[3])));
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
    std::cerr << "usage: keycheck_yardsticks read-infs PACKAGE | read-lines EXPORT | read-tree DIR "
                 "JOBS\n";
    return 2;
}
