// The Debian tools keycheck's disk images are made and read with.
#include "tools/keycheck/disk/disk_tools.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {
// 2000-01-01 00:00:00 UTC: the time every file and directory of an image carries.
const char* const kFixedTime = "SOURCE_DATE_EPOCH=946684800";
}  // namespace

#ifndef _WIN32
namespace {
// The program's path: found on PATH, or in /usr/sbin and /sbin (fsck.fat), or "".
std::string FindTool(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = std::string(path == nullptr ? "/usr/bin" : path) + ":/usr/sbin:/sbin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}
}  // namespace

int RunTool(const std::vector<std::string>& argv, std::string* said) {
    char errorFile[] = "/tmp/keycheck-tool-XXXXXX";
    const int errorFd = mkstemp(errorFile);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (errorFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.push_back(*e);
    env.push_back(const_cast<char*>(kFixedTime));
    env.push_back(nullptr);
    const std::string program = FindTool(argv[0]);
    pid_t pid = 0;
    int status = -1;
    if (!program.empty() &&
        posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), env.data()) == 0 &&
        waitpid(pid, &status, 0) == pid)
        status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    else
        status = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (errorFd >= 0) {
        close(errorFd);
        std::ifstream file(errorFile);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (said != nullptr)
            *said = text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
        std::remove(errorFile);
    }
    return status;
}

std::string MakeScratchFolder() {
    char folder[] = "/tmp/keycheck-disk-XXXXXX";
    return mkdtemp(folder) == nullptr ? "" : folder;
}

bool DiskToolsPresent(std::string& error) {
    const struct {
        const char* program;
        const char* package;
    } tools[] = {{"mformat", "mtools"},  {"mcopy", "mtools"},
                 {"mmd", "mtools"},      {"fsck.fat", "dosfstools"},
                 {"xorriso", "xorriso"}, {"bsdtar", "libarchive-tools"}};
    for (const auto& tool : tools) {
        if (FindTool(tool.program).empty()) {
            error = std::string(tool.program) + " is not installed (Debian: " + tool.package + ")";
            return false;
        }
    }
    return true;
}
#else
int RunTool(const std::vector<std::string>&, std::string* said) {
    if (said != nullptr)
        *said = "disk images are made and read by the Debian build of keycheck";
    return -1;
}

std::string MakeScratchFolder() {
    return "";
}

bool DiskToolsPresent(std::string& error) {
    error = "disk images are made and read by the Debian build of keycheck (mtools, xorriso)";
    return false;
}
#endif
