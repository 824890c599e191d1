// Sets the fake machine up from keycheck's options: the package, the version, the registry.
#include "tools/keycheck/cli/machine_setup.h"

#include "platform/mbcs_text.h"
#include "sim/app_runner.h"
#include "tools/keycheck/package/package_folder.h"
#include "tools/keycheck/predict/version_names.h"

namespace {
// Whether path's last character, walked in the machine's code page, is a backslash: the
// second byte of a double-byte character can be one too.
bool EndsInBackslash(const std::string& path) {
    const char* last = nullptr;
    for (const char* p = path.c_str(); *p != '\0'; p += MbCharLength(p))
        last = p;
    return last != nullptr && *last == '\\' && last[1] == '\0';
}
}  // namespace

bool SetUpPackage(Options& options, CFakeOs& machine, std::string& error) {
    if (!EndsInBackslash(options.dir))
        options.dir += '\\';
    while (options.windowsDir.size() > 3 && EndsInBackslash(options.windowsDir))
        options.windowsDir.pop_back();
    machine.modulePath = options.dir + "setup.exe";
    return LoadPackageFolder(options.package, options.dir, machine, error);
}

bool SetUpMachine(const Options& options, CFakeOs& machine, RegExport& registry,
                  std::string& error) {
    SetWindowsVersion(machine, WindowsVersionByOption(options.os)->wineName);
    machine.windowsDir = options.windowsDir;
    return AddRegExportFileToMachine(options.registry, machine, registry, error);
}
