// The machine a user names for keycheck to read, opened into one value whatever it is.
#include "tools/keycheck/machine/machine_source.h"

#include "tools/keycheck/creg/creg_file.h"
#include "tools/keycheck/diskimage/disk_image.h"
#include "tools/keycheck/registry/control_set.h"
#include "tools/keycheck/registry/hive_file.h"
#include "tools/keycheck/registry/memory_file.h"
#include "tools/keycheck/registry/reg_export.h"
#include "tools/keycheck/registry/system_hive.h"
#include "tools/keycheck/text/ascii_case.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace {
// No registry file of these versions is larger; a larger one is refused before it is read.
const std::uint64_t kMaxRegistryFile = 512ull << 20;
const std::size_t kHeadBytes = 64 * 1024;

void Finish(MachineSource& machine, int codePage) {
    machine.version = FindRecordedVersion(machine.tree, machine.format, codePage);
}

bool ReadHive(const HiveSource& hive, const std::string& name, int codePage,
              const MachineChoice& choice, MachineSource& machine, std::string& error) {
    if (!ReadSystemHive(hive, codePage, choice.controlSet, machine.tree, machine.controlSet,
                        error)) {
        error = name + ": " + error;
        return false;
    }
    machine.kind = MachineKind::NtHive;
    machine.format = RegFormat::Version5;
    machine.encoding = RegFileEncoding::Utf16;
    machine.controlSetHow = choice.controlSet.empty() ? "Select\\Current" : "--control-set";
    machine.localMachineKeys = machine.tree.Count();
    return true;
}

// After a 98/Me registry file was read, or not.
bool ReadCreg(bool read, const std::string& name, MachineSource& machine, std::string& error) {
    if (!read) {
        error = name + ": " + error;
        return false;
    }
    machine.kind = MachineKind::Win9xFile;
    machine.format = RegFormat::Regedit4;
    machine.encoding = RegFileEncoding::Ansi;
    machine.localMachineKeys = machine.tree.Count();
    return true;
}

bool ReadExport(const std::string& bytes, const std::string& path, int codePage,
                const MachineChoice& choice, MachineSource& machine, std::string& error) {
    RegExport contents;
    if (!ReadRegExport(bytes, path, codePage, contents, error))
        return false;
    machine.kind = MachineKind::Export;
    machine.encoding = contents.encoding;
    machine.format = contents.format;
    machine.tree = std::move(contents.tree);
    machine.localMachineKeys = machine.tree.Count();  // the file's, not the mapped copy's
    ControlSetChoice set;
    if (!MapCurrentControlSet(machine.tree, choice.controlSet, set, error)) {
        error = path + ": " + error;
        return false;
    }
    machine.controlSet = set.read;
    machine.controlSetHow = set.how;
    machine.controlSets = set.found;
    return true;
}

std::string FolderText(const WindowsFolder& folder) {
    return folder.partitionText + ", " + folder.name + (folder.nt ? " (2000/XP)" : " (98/Me)");
}

std::string Listed(const std::vector<WindowsFolder>& folders) {
    std::string text;
    for (const WindowsFolder& folder : folders)
        text += (text.empty() ? "" : "; ") + FolderText(folder);
    return text;
}

// The last name of "C:\WIN98" or "WIN98".
std::string LastName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadImage(const std::string& path, int codePage, const MachineChoice& choice,
               MachineSource& machine, std::string& error) {
    const std::unique_ptr<DiskImage> image = OpenDiskImage(path, error);
    if (image == nullptr)
        return false;
    const std::vector<WindowsFolder>& all = image->Folders();
    std::vector<WindowsFolder> chosen;
    for (const WindowsFolder& folder : all) {
        if ((choice.partition == 0 || folder.partition == choice.partition) &&
            (choice.windowsDir.empty() ||
             AsciiUpper(folder.name) == AsciiUpper(LastName(choice.windowsDir))))
            chosen.push_back(folder);
    }
    if (all.empty()) {
        error = path + ": a disk image (" + image->Format() +
                ") with no Windows folder keycheck can read: none holds SYSTEM.DAT or "
                "system32\\config\\SYSTEM" +
                (image->TableProblem().empty() ? ""
                                               : "; its partition table: " + image->TableProblem());
        return false;
    }
    if (chosen.empty()) {
        error = path +
                ": no Windows folder there by the --partition and --windir given; the "
                "image holds " +
                Listed(all);
        return false;
    }
    if (chosen.size() > 1) {
        error = path + ": several Windows folders (" + Listed(chosen) +
                "): choose one with --partition and --windir";
        return false;
    }
    const WindowsFolder& folder = chosen.front();
    const std::string name = path + ": " + folder.registryFile;
    // The registry file is handed from the image to its library through a file in memory.
    MemoryFile file;
    std::string why;
    const DiskImage::Sink into = [&file, &why](const char* data, std::size_t size) {
        return file.Append(data, size, why);
    };
    if (!image->ReadFile(folder, folder.registryFile, kMaxRegistryFile, into, error)) {
        error = name + ": " + error + (why.empty() ? "" : " (" + why + ")");
        return false;
    }
    if (folder.nt) {
        const std::unique_ptr<HiveSource> hive = OpenHiveFile(file.Path(), name, error);
        if (hive == nullptr || !ReadHive(*hive, name, codePage, choice, machine, error))
            return false;
        // The version is in the SOFTWARE hive beside it; without one, none is recorded.
        MemoryFile software;
        const DiskImage::Sink softwareInto = [&software, &why](const char* data, std::size_t size) {
            return software.Append(data, size, why);
        };
        std::string unread;
        std::unique_ptr<HiveSource> softwareHive;
        if (image->ReadFile(folder, folder.name + "\\system32\\config\\SOFTWARE", kMaxRegistryFile,
                            softwareInto, unread) &&
            (softwareHive = OpenHiveFile(software.Path(), path, unread)) != nullptr)
            ReadNtVersionKey(*softwareHive, codePage, machine.tree);
    } else if (!ReadCreg(ReadCregFile(file.Path(), machine.tree, error), name, machine, error)) {
        return false;
    }
    machine.fromImage = true;
    machine.image = ImagePlace{image->Format(), folder.partitionText, folder.partition,
                               "C:\\" + folder.name, folder.registryFile};
    return true;
}

// Whether bytes start as an export does, after a byte-order mark.
bool LooksLikeExport(const std::string& head) {
    for (const std::string& mark :
         {std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE"), std::string()}) {
        if (head.compare(0, mark.size(), mark) != 0)
            continue;
        std::string text;
        for (std::size_t i = mark.size(); i < head.size() && text.size() < 9; ++i) {
            if (mark.size() != 2 || (i - mark.size()) % 2 == 0)
                text += head[i];
        }
        if (text.compare(0, 8, "REGEDIT4") == 0 || text.compare(0, 9, "Windows R") == 0)
            return true;
    }
    return false;
}

bool ReadBytes(std::ifstream& file, std::uint64_t from, std::uint64_t size, std::string& bytes) {
    bytes.assign(static_cast<std::size_t>(size), '\0');
    file.clear();
    file.seekg(static_cast<std::streamoff>(from));
    return size == 0 || static_cast<bool>(file.read(&bytes[0], static_cast<std::streamsize>(size)));
}
}  // namespace

bool OpenMachine(const std::string& path, int codePage, const MachineChoice& choice,
                 MachineSource& machine, std::string& error) {
    std::error_code failure;
    std::ifstream file;
    std::uint64_t size = 0;
    if (std::filesystem::is_regular_file(path, failure)) {
        size = std::filesystem::file_size(path, failure);
        file.open(path, std::ios::binary);
    }
    std::string head, tail;
    if (!file.is_open() || failure ||
        !ReadBytes(file, 0, std::min<std::uint64_t>(size, kHeadBytes), head) ||
        !ReadBytes(file, size < 512 ? 0 : size - 512, std::min<std::uint64_t>(size, 512), tail)) {
        error = path + ": cannot be read";
        return false;
    }
    // An image and a 98/Me registry file are read where they lie, as far as they are needed;
    // any other file whole.
    const bool image = !IsHiveFile(head) && !IsCregFile(head) && !LooksLikeExport(head) &&
                       LooksLikeDiskImage(head, tail);
    if (image || IsCregFile(head)) {
        machine = MachineSource();
        machine.path = path;
        const bool read =
            image ? ReadImage(path, codePage, choice, machine, error)
                  : ReadCreg(ReadCregFile(path, machine.tree, error), path, machine, error);
        if (read)
            Finish(machine, codePage);
        return read;
    }
    std::string bytes;
    if (size > kMaxRegistryFile) {
        error = path + ": " + std::to_string(size) +
                " bytes, larger than any registry file, and no "
                "disk image keycheck knows";
        return false;
    }
    if (!ReadBytes(file, 0, size, bytes)) {
        error = path + ": cannot be read";
        return false;
    }
    return ReadMachine(bytes, path, codePage, choice, machine, error);
}

bool ReadMachine(const std::string& bytes, const std::string& path, int codePage,
                 const MachineChoice& choice, MachineSource& machine, std::string& error) {
    machine = MachineSource();
    machine.path = path;
    bool read = false;
    if (IsHiveFile(bytes)) {
        // A hive library opens files, not bytes: a hive is read from its path.
        const std::unique_ptr<HiveSource> hive = OpenHiveFile(path, path, error);
        read = hive != nullptr && ReadHive(*hive, path, codePage, choice, machine, error);
    } else if (IsCregFile(bytes)) {
        read = ReadCreg(ReadCregBytes(bytes, machine.tree, error), path, machine, error);
    } else if (!LooksLikeExport(bytes) &&
               LooksLikeDiskImage(bytes,
                                  bytes.substr(bytes.size() < 512 ? 0 : bytes.size() - 512))) {
        read = ReadImage(path, codePage, choice, machine, error);
    } else {
        read = ReadExport(bytes, path, codePage, choice, machine, error);
    }
    if (read)
        Finish(machine, codePage);
    return read;
}

std::string MachineLabel(const MachineSource& machine) {
    std::string label;
    if (machine.kind == MachineKind::NtHive) {
        label = "SYSTEM hive file, " + machine.controlSet + " read as CurrentControlSet";
    } else if (machine.kind == MachineKind::Win9xFile) {
        label = "98/Me registry file (CREG)";
    } else {
        const std::string set = machine.controlSet.empty()
                                    ? ""
                                    : ", " + machine.controlSet + " read as CurrentControlSet";
        if (machine.format == RegFormat::Regedit4 && machine.encoding == RegFileEncoding::Ansi) {
            label = "REGEDIT4" + set;
        } else {
            const char* const encodings[] = {"ANSI", "UTF-8", "UTF-16LE"};
            label =
                std::string(machine.format == RegFormat::Regedit4 ? "REGEDIT4" : "version 5.00") +
                " (" + encodings[static_cast<int>(machine.encoding)] + ")" + set;
        }
    }
    if (!machine.controlSetHow.empty() && machine.controlSetHow != "Select\\Current")
        label += " (" + machine.controlSetHow + ")";
    if (machine.fromImage)
        label += ", " + machine.image.registryFile + " on a disk image (" + machine.image.format +
                 "), " + machine.image.partitionText;
    return label;
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
    if (machine.kind == MachineKind::Win9xFile)
        return "creg";
    return machine.format == RegFormat::Regedit4 ? "REGEDIT4" : "5.00";
}
