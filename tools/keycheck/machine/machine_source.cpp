// The machine a user names for keycheck to read, opened into one value whatever it is.
#include "tools/keycheck/machine/machine_source.h"

#include "tools/keycheck/registry/control_set.h"
#include "tools/keycheck/registry/hive_file.h"
#include "tools/keycheck/registry/reg_export.h"
#include "tools/keycheck/registry/system_hive.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace {
bool OpenHive(const std::string& path, int codePage, MachineSource& machine, std::string& error) {
    const std::unique_ptr<HiveSource> hive = OpenHiveFile(path, error);
    if (hive == nullptr)
        return false;
    if (!ReadSystemHive(*hive, codePage, machine.tree, machine.controlSet, error)) {
        error = path + ": " + error;
        return false;
    }
    machine.kind = MachineKind::NtHive;
    machine.format = RegFormat::Version5;
    machine.encoding = RegFileEncoding::Utf16;
    machine.localMachineKeys = machine.tree.Count();
    return true;
}

bool OpenExport(const std::string& bytes, const std::string& path, int codePage,
                MachineSource& machine, std::string& error) {
    RegExport contents;
    if (!ReadRegExport(bytes, path, codePage, contents, error))
        return false;
    machine.kind = MachineKind::Export;
    machine.encoding = contents.encoding;
    machine.format = contents.format;
    machine.tree = std::move(contents.tree);
    machine.localMachineKeys = machine.tree.Count();  // the file's, not the mapped copy's
    machine.controlSet = MapCurrentControlSet(machine.tree);
    return true;
}
}  // namespace

bool OpenMachine(const std::string& path, int codePage, MachineSource& machine,
                 std::string& error) {
    std::error_code failure;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, failure))
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        error = path + ": cannot be read";
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ReadMachine(bytes, path, codePage, machine, error);
}

bool ReadMachine(const std::string& bytes, const std::string& path, int codePage,
                 MachineSource& machine, std::string& error) {
    machine = MachineSource();
    machine.path = path;
    // A hive library opens files, not bytes: a hive is read from its path.
    if (IsHiveFile(bytes))
        return OpenHive(path, codePage, machine, error);
    return OpenExport(bytes, path, codePage, machine, error);
}

std::string MachineLabel(const MachineSource& machine) {
    if (machine.kind == MachineKind::NtHive)
        return "SYSTEM hive file, " + machine.controlSet + " read as CurrentControlSet";
    const std::string set =
        machine.controlSet.empty() ? "" : ", " + machine.controlSet + " read as CurrentControlSet";
    if (machine.format == RegFormat::Regedit4 && machine.encoding == RegFileEncoding::Ansi)
        return "REGEDIT4" + set;
    const char* const encodings[] = {"ANSI", "UTF-8", "UTF-16LE"};
    return std::string(machine.format == RegFormat::Regedit4 ? "REGEDIT4" : "version 5.00") + " (" +
           encodings[static_cast<int>(machine.encoding)] + ")" + set;
}

const char* MachineEncodingName(const MachineSource& machine) {
    switch (machine.encoding) {
    case RegFileEncoding::Utf16:
        return "UTF-16LE";
    case RegFileEncoding::Utf8:
        return "UTF-8";
    default:
        return machine.format == RegFormat::Regedit4 ? "REGEDIT4" : "ANSI";
    }
}

const char* MachineFormatName(const MachineSource& machine) {
    if (machine.kind == MachineKind::NtHive)
        return "hive";
    return machine.format == RegFormat::Regedit4 ? "REGEDIT4" : "5.00";
}
