// The files of a driver package, found as Windows finds them.
#include "tools/keycheck/package/package_files.h"

#include "sim/ansi_names.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

bool PackageFiles::List(const std::string& folder, std::string& error) {
    std::error_code failure;
    if (!fs::is_directory(folder, failure)) {
        error = folder + ": not a folder";
        return false;
    }
    std::vector<PackageFile> listed;
    fs::recursive_directory_iterator it(folder, failure);
    for (; !failure && it != fs::recursive_directory_iterator(); it.increment(failure)) {
        if (!it->is_regular_file(failure))
            continue;
        std::string relative = it->path().lexically_relative(folder).generic_string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        listed.push_back(PackageFile{relative, it->path().string(), it->file_size(failure), {}});
    }
    if (failure) {
        error = folder + ": cannot be read (" + failure.message() + ")";
        return false;
    }
    std::sort(listed.begin(), listed.end(),
              [](const PackageFile& a, const PackageFile& b) { return a.path < b.path; });
    for (PackageFile& file : listed) {
        if (m_index.emplace(FoldAnsiName(file.path, m_codePage), m_files.size()).second)
            m_files.push_back(std::move(file));
    }
    return true;
}

void PackageFiles::Add(const std::string& path, std::string bytes) {
    const auto found = m_index.emplace(FoldAnsiName(path, m_codePage), m_files.size());
    if (!found.second) {
        m_files[found.first->second].size = bytes.size();
        m_files[found.first->second].bytes = std::move(bytes);
        return;
    }
    const std::uintmax_t size = bytes.size();
    m_files.push_back(PackageFile{path, {}, size, std::move(bytes)});
}

const PackageFile* PackageFiles::Find(const std::string& path) const {
    const auto found = m_index.find(FoldAnsiName(path, m_codePage));
    return found == m_index.end() ? nullptr : &m_files[found->second];
}

bool PackageFiles::Read(const PackageFile& file, std::string& bytes, std::string& error) const {
    if (file.hostPath.empty()) {
        bytes = file.bytes;
        return true;
    }
    std::ifstream in(file.hostPath, std::ios::binary);
    if (!in) {
        error = file.hostPath + ": cannot be read";
        return false;
    }
    // The size listed, read at once; a file that has grown since is read to its end.
    bytes.resize(static_cast<std::size_t>(file.size));
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in)
        bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::unique_ptr<std::istream> PackageFiles::Open(const PackageFile& file) const {
    if (file.hostPath.empty())
        return std::make_unique<std::istringstream>(file.bytes);
    auto in = std::make_unique<std::ifstream>(file.hostPath, std::ios::binary);
    if (!*in)
        return nullptr;
    return in;
}
