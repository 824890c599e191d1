// A folder of real files for keycheck's tests, made fresh and removed with the object.
#include "tools/keycheck/tests/temp_folder.h"

#include "sim/app_runner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "keycheck-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempFolder::Path(const std::string& relative) const {
    return relative.empty() ? m_path : m_path + "/" + relative;
}

void TempFolder::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void TempFolder::WritePackage(const std::string& folder, const std::string& keyIni) const {
    for (auto file : PackageFileList(keyIni)) {
        std::replace(file.first.begin(), file.first.end(), '\\', '/');
        Write(folder + "/" + file.first, file.second);
    }
}
