// Copies a driver package folder of this computer into the fake machine at a Windows path.
#include "tools/keycheck/package/package_folder.h"

#include "sim/fake_os.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

bool LoadPackageFolder(const std::string& folder, const std::string& dir, CFakeOs& machine,
                       std::string& error) {
    std::error_code failure;
    if (!fs::is_directory(folder, failure)) {
        error = folder + ": not a folder";
        return false;
    }
    fs::recursive_directory_iterator it(folder, failure);
    for (; !failure && it != fs::recursive_directory_iterator(); it.increment(failure)) {
        if (!it->is_regular_file(failure))
            continue;
        std::ifstream file(it->path(), std::ios::binary);
        if (!file) {
            error = it->path().string() + ": cannot be read";
            return false;
        }
        std::string relative = it->path().lexically_relative(folder).generic_string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        machine.AddFile(dir + relative, std::string{std::istreambuf_iterator<char>(file),
                                                    std::istreambuf_iterator<char>()});
    }
    if (failure) {
        error = folder + ": cannot be read (" + failure.message() + ")";
        return false;
    }
    return true;
}
