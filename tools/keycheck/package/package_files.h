// The files of a driver package, found as Windows finds them: a path below the package's folder,
// with backslashes, compared without regard to case character by character in the machine's
// code page, so that key.ini, Key.ini and KEY.INI are one file.
//
// Thread rule: a PackageFiles is read-only once listed; several threads may read one.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct PackageFile {
    std::string path;      // below the package's folder, with backslashes, as the folder names it
    std::string hostPath;  // on this computer; empty for a file held in memory
    std::uintmax_t size = 0;
    std::string bytes;  // a file held in memory
};

class PackageFiles {
public:
    explicit PackageFiles(int codePage = 1252) : m_codePage(codePage) {}

    // Lists every file below folder on this computer, in path order; the files are read when
    // asked for. On failure returns false with a one-line error naming the folder.
    bool List(const std::string& folder, std::string& error);
    // Adds a file held in memory (a test's; a disk's once read).
    void Add(const std::string& path, std::string bytes);

    // The file at path ("drv\hx5820.inf", any case), or null. Of files whose names differ only
    // in case, the one first in path order.
    const PackageFile* Find(const std::string& path) const;
    bool Exists(const std::string& path) const { return Find(path) != nullptr; }
    // The file's bytes; false with a one-line error naming it when it cannot be read.
    bool Read(const PackageFile& file, std::string& bytes, std::string& error) const;
    // The file opened to be read in pieces, so that a large one is never held whole; null when
    // it cannot be opened.
    std::unique_ptr<std::istream> Open(const PackageFile& file) const;

    const std::vector<PackageFile>& All() const { return m_files; }
    int CodePage() const { return m_codePage; }

private:
    int m_codePage;
    std::vector<PackageFile> m_files;
    std::unordered_map<std::string, std::size_t> m_index;  // by the folded path
};
