// The Windows version a machine's registry records, where it records one.
#include "tools/keycheck/machine/recorded_version.h"

#include "sim/windows_versions.h"
#include "tools/keycheck/registry/reg_value_text.h"

#include <cstdlib>
#include <vector>

namespace {
std::string Text(const RegKey& key, const char* name, RegFormat format, int codePage) {
    const RegValue* value = key.Value(name);
    if (value == nullptr)
        return "";
    const std::vector<std::string> strings = RegValueStrings(*value, format, codePage);
    return strings.empty() ? "" : strings[0];
}

// "4.10.2222" as its three numbers; false for text of another shape.
bool Numbers(const std::string& text, long& major, long& minor, long& build) {
    char* end = nullptr;
    const char* at = text.c_str();
    major = std::strtol(at, &end, 10);
    if (end == at || *end != '.')
        return false;
    at = end + 1;
    minor = std::strtol(at, &end, 10);
    if (end == at)
        return false;
    build = -1;
    if (*end == '.') {
        at = end + 1;
        build = std::strtol(at, &end, 10);
        if (end == at)
            return false;
    }
    return *end == '\0';
}

const char* Windows9x(long major, long minor, long build) {
    if (major != 4)
        return nullptr;
    if (minor == 90)
        return "me";
    if (minor == 10)
        return build >= 2222 ? "98se" : "98";
    return minor < 10 ? "95" : nullptr;
}

// The version the launcher sees: GetVersionEx gives 6.2 from Windows 8 on to a program without
// a manifest, which keycheck's "10" stands for; 7 reports 6.1 and is treated the same.
const char* WindowsNt(long major, long minor) {
    if (major == 4 && minor == 0)
        return "nt4";
    if (major == 5)
        return minor == 0 ? "2000" : minor == 1 ? "xp" : minor == 2 ? "2003" : nullptr;
    if (major == 6 && minor == 0)
        return "vista";
    return major >= 6 ? "10" : nullptr;
}
}  // namespace

RecordedVersion FindRecordedVersion(const RegKeyTree& tree, RegFormat format, int codePage) {
    long major = 0, minor = 0, build = 0;
    if (const RegKey* key = tree.Find({"Software", "Microsoft", "Windows", "CurrentVersion"})) {
        const std::string number = Text(*key, "VersionNumber", format, codePage);
        const char* option = Numbers(number, major, minor, build) && build >= 0
                                 ? Windows9x(major, minor, build)
                                 : nullptr;
        if (option != nullptr)
            return {option, "VersionNumber " + number +
                                " in HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"};
    }
    if (const RegKey* key = tree.Find({"SOFTWARE", "Microsoft", "Windows NT", "CurrentVersion"})) {
        const std::string number = Text(*key, "CurrentVersion", format, codePage);
        const std::string pack = Text(*key, "CSDVersion", format, codePage);
        const char* option =
            Numbers(number, major, minor, build) && build < 0 ? WindowsNt(major, minor) : nullptr;
        if (option != nullptr)
            return {option, "CurrentVersion " + number + (pack.empty() ? "" : ", " + pack) +
                                " in HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"};
    }
    return {};
}

std::string VersionSource(const std::string& osOption, const RecordedVersion& recorded) {
    return osOption.empty() ? recorded.from : "--os";
}

std::string VersionDisagreement(const std::string& osOption, const RecordedVersion& recorded) {
    const WindowsVersion* machine = WindowsVersionByOption(recorded.option);
    if (osOption.empty() || machine == nullptr || recorded.option == osOption)
        return "";
    return "--os " + osOption + ", but the machine records " + machine->label + " (" +
           recorded.from + "); predicted as --os says";
}
