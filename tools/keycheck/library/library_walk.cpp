// The folders of a driver library worth surveying.
#include "tools/keycheck/library/library_walk.h"

#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
bool Surveyed(const std::string& name) {
    const std::string upper = AsciiUpper(name);
    return upper == "TXTSETUP.OEM" ||
           (upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".INF") == 0);
}

void Walk(const fs::path& root, const std::string& folder, std::vector<LibraryFolder>& found) {
    std::error_code failure;
    fs::directory_iterator it(folder.empty() ? root : root / folder, failure);
    bool holds = false;
    std::vector<std::string> below;
    for (; !failure && it != fs::directory_iterator(); it.increment(failure)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (it->is_symlink(kind) ? it->is_regular_file(kind) : it->is_regular_file(kind))
            holds = holds || Surveyed(name);
        else if (!it->is_symlink(kind) && it->is_directory(kind))
            below.push_back(folder.empty() ? name : folder + "/" + name);
    }
    if (failure) {
        found.push_back(LibraryFolder{folder, failure.message()});
        return;
    }
    if (holds)
        found.push_back(LibraryFolder{folder, ""});
    for (const std::string& next : below)
        Walk(root, next, found);
}
}  // namespace

bool WalkLibrary(const std::string& root, std::vector<LibraryFolder>& folders, std::string& error) {
    std::error_code failure;
    if (!fs::is_directory(root, failure)) {
        error = root + ": not a folder";
        return false;
    }
    folders.clear();
    Walk(root, "", folders);
    std::sort(folders.begin(), folders.end(),
              [](const LibraryFolder& a, const LibraryFolder& b) { return a.folder < b.folder; });
    return true;
}
