// A driver package as the disk it ships on, made and read back with Debian's tools of the field.
#include "tools/keycheck/disk/disk_image.h"

#include "sim/ansi_names.h"
#include "tools/keycheck/disk/disk_tools.h"
#include "tools/keycheck/text/ascii_case.h"
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
const std::uintmax_t kFloppyBytes = 1474560;
const std::uintmax_t kFloppyClusters = 2847;  // 512 bytes each, after the FATs and the root
const std::uintmax_t kCdBytes = 681984000;    // a 74-minute CD-R: 333,000 sectors of 2,048 bytes
// The part of an image that tells what it is: a boot sector, or 16 sectors of 2,048 bytes and
// the volume descriptors after them.
const std::size_t kImageHead = 32 * 2048;

struct PackageFile {
    std::string relative;  // with "/" between the folders
    bool folder;
    std::uintmax_t size;
};

// Every file and folder below root, in name order, so that the image's order is fixed.
std::vector<PackageFile> Listing(const std::string& root, std::string& error) {
    std::vector<PackageFile> files;
    std::error_code failure;
    for (fs::recursive_directory_iterator it(root, failure), end; !failure && it != end;
         it.increment(failure)) {
        const bool folder = it->is_directory(failure);
        files.push_back(PackageFile{it->path().lexically_relative(root).generic_string(), folder,
                                    folder ? 0 : it->file_size(failure)});
    }
    if (failure)
        error = root + ": cannot be read (" + failure.message() + ")";
    std::sort(files.begin(), files.end(),
              [](const PackageFile& a, const PackageFile& b) { return a.relative < b.relative; });
    return files;
}

// Whether name stays as it is in ISO 9660 without Joliet (level 1: an 8.3 name of A-Z, 0-9
// and _, a folder without a dot); Windows reads the upper-case name, the same file to it.
bool IsoLevel1Name(const std::string& name, bool folder) {
    const std::string upper = AsciiUpper(name);
    const std::size_t dot = upper.find('.');
    if (folder ? dot != std::string::npos : upper.find('.', dot + 1) != std::string::npos)
        return false;
    const std::string base = upper.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : upper.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && extension.size() <= 3 &&
           upper.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.") == std::string::npos;
}

std::string Thousands(std::uintmax_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

// The files an F6 floppy holds: TXTSETUP.OEM, the tag files and the files its [Files.*]
// sections name, at the paths [Disks] gives, found without regard to case.
std::vector<PackageFile> F6Files(const std::string& root, const std::vector<PackageFile>& all,
                                 std::string& error) {
    const auto find = [&](std::string path) -> const PackageFile* {
        std::replace(path.begin(), path.end(), '\\', '/');
        while (!path.empty() && path[0] == '/')
            path.erase(0, 1);
        for (const PackageFile& file : all) {
            if (SameAnsiName(file.relative, path, 1252))
                return &file;
        }
        return nullptr;
    };
    const PackageFile* oem = find("TXTSETUP.OEM");
    if (oem == nullptr) {
        error = root + ": no TXTSETUP.OEM to make an F6 floppy of";
        return {};
    }
    std::ifstream in(fs::path(root) / oem->relative, std::ios::binary);
    const TxtSetupFile file = ParseTxtSetup(
        std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    std::vector<PackageFile> chosen{*oem};
    const auto add = [&](const std::string& path) {
        const PackageFile* found = find(path);
        if (found == nullptr)
            error = root + ": " + path + ", which TXTSETUP.OEM names, is not in the package";
        else if (std::none_of(chosen.begin(), chosen.end(),
                              [&](const PackageFile& f) { return f.relative == found->relative; }))
            chosen.push_back(*found);
    };
    std::vector<std::pair<std::string, std::string>> disks;  // upper-case key, directory
    if (const TxtSetupSection* section = file.Section("Disks")) {
        for (const TxtSetupEntry& disk : section->entries) {
            if (disk.fields.size() >= 3) {
                add(disk.fields[1]);
                disks.emplace_back(AsciiUpper(disk.key), disk.fields[2]);
            }
        }
    }
    for (const TxtSetupSection& section : file.sections) {
        if (AsciiUpper(section.name).compare(0, 6, "FILES.") != 0)
            continue;
        for (const TxtSetupEntry& line : section.entries) {
            for (const auto& disk : disks) {
                if (line.fields.size() >= 2 && disk.first == AsciiUpper(line.fields[0]))
                    add(disk.second + "\\" + line.fields[1]);
            }
        }
    }
    // The folders the chosen files stand in come first, as an image needs them.
    std::vector<PackageFile> withFolders;
    for (const PackageFile& copied : chosen) {
        for (std::size_t slash = copied.relative.find('/'); slash != std::string::npos;
             slash = copied.relative.find('/', slash + 1)) {
            const std::string folder = copied.relative.substr(0, slash);
            if (std::none_of(withFolders.begin(), withFolders.end(),
                             [&](const PackageFile& f) { return f.relative == folder; }))
                withFolders.push_back(PackageFile{folder, true, 0});
        }
        withFolders.push_back(copied);
    }
    std::sort(withFolders.begin(), withFolders.end(),
              [](const PackageFile& a, const PackageFile& b) { return a.relative < b.relative; });
    return error.empty() ? withFolders : std::vector<PackageFile>{};
}

bool BuildFloppy(const DiskBuild& build, const std::vector<PackageFile>& files,
                 std::string& error) {
    std::uintmax_t clusters = 0, bytes = 0;
    for (const PackageFile& file : files) {
        clusters += file.folder ? 1 : (file.size + 511) / 512;
        bytes += file.size;
    }
    if (clusters > kFloppyClusters) {
        error = build.package + ": " + Thousands(bytes) + " bytes in " + Thousands(clusters) +
                " clusters do not fit a " + Thousands(kFloppyBytes) + "-byte floppy, which holds " +
                Thousands(kFloppyClusters * 512) + " bytes in " + Thousands(kFloppyClusters) +
                " clusters of 512" + (build.f6Only ? "" : "; --f6 makes the F6 floppy alone");
        return false;
    }
    std::string said;
    const std::string label =
        AsciiUpper(build.label.empty() ? "DRIVERS" : build.label).substr(0, 11);
    std::vector<std::vector<std::string>> steps{
        {"mformat", "-C", "-f", "1440", "-v", label, "-N", "20000101", "-i", build.image, "::"}};
    for (const PackageFile& file : files) {
        if (file.folder)
            steps.push_back({"mmd", "-i", build.image, "::/" + file.relative});
        else
            steps.push_back({"mcopy", "-i", build.image,
                             (fs::path(build.package) / file.relative).string(),
                             "::/" + file.relative});
    }
    steps.push_back({"fsck.fat", "-n", build.image});
    for (const std::vector<std::string>& step : steps) {
        if (RunTool(step, &said) != 0) {
            error = build.image + ": " + step[0] + " failed: " + said;
            return false;
        }
    }
    return true;
}

bool BuildCd(const DiskBuild& build, const std::vector<PackageFile>& files, std::string& error) {
    std::uintmax_t bytes = 0;
    for (const PackageFile& file : files) {
        bytes += (file.size + 2047) / 2048 * 2048;
        const std::string name = fs::path(file.relative).filename().string();
        if (!build.joliet && !IsoLevel1Name(name, file.folder)) {
            error = build.package + ": " + file.relative +
                    " has no ISO 9660 name without Joliet: Windows 98 SE and XP would read it "
                    "under a changed 8.3 name, and the launcher would not find it; build with "
                    "Joliet, or rename it to an 8.3 name of letters, digits and _";
            return false;
        }
        if (build.joliet && name.size() > 64) {
            error = build.package + ": " + file.relative +
                    " is longer than the 64 characters a Joliet name holds";
            return false;
        }
    }
    if (bytes > kCdBytes) {
        error = build.package + ": " + Thousands(bytes) + " bytes do not fit a " +
                Thousands(kCdBytes) + "-byte CD";
        return false;
    }
    std::vector<std::string> command{"xorriso", "-as", "mkisofs", "-quiet"};
    if (build.joliet)
        command.push_back("-J");
    for (const char* arg : {"-V", "", "--set_all_file_dates", "2000010100000000", "-o", "", ""})
        command.push_back(arg);
    command[command.size() - 6] =
        AsciiUpper(build.label.empty() ? "DRIVERS" : build.label).substr(0, 32);
    command[command.size() - 2] = build.image;
    command[command.size() - 1] = build.package;
    std::string said;
    if (RunTool(command, &said) != 0) {
        error = build.image + ": xorriso failed: " + said;
        return false;
    }
    return true;
}

std::string ReadBytes(const std::string& path, std::uintmax_t from, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(from));
    std::string bytes(count, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}
}  // namespace

bool BuildDiskImage(const DiskBuild& build, std::string& error) {
    if (!DiskToolsPresent(error))
        return false;
    std::vector<PackageFile> files = Listing(build.package, error);
    if (!error.empty())
        return false;
    if (build.f6Only) {
        files = F6Files(build.package, files, error);
        if (!error.empty())
            return false;
    }
    std::error_code ignored;
    fs::remove(build.image, ignored);
    const bool built =
        build.floppy ? BuildFloppy(build, files, error) : BuildCd(build, files, error);
    if (!built)
        fs::remove(build.image, ignored);
    return built;
}

std::string DiskImageKindOf(const std::string& head) {
    if (head.size() >= 16 * 2048 + 6 && head.compare(16 * 2048 + 1, 5, "CD001") == 0) {
        // The volume descriptors from sector 16 on: Joliet is a supplementary one (type 2)
        // whose escape sequence names UCS-2 (%/@, %/C or %/E).
        for (std::size_t at = 16 * 2048; at + 91 <= head.size(); at += 2048) {
            if (head[at] == '\xFF')
                break;
            if (head[at] == 2 && head.compare(at + 88, 2, "%/") == 0)
                return "cd-joliet";
        }
        return "cd";
    }
    return head.size() >= 512 && head[510] == '\x55' && head[511] == '\xAA' ? "floppy" : "";
}

std::uintmax_t IsoVolumeBytes(const std::string& head) {
    if (head.size() < 16 * 2048 + 130)
        return 0;
    std::uintmax_t blocks = 0, blockSize = 0;
    for (int i = 3; i >= 0; --i)
        blocks = (blocks << 8) | static_cast<unsigned char>(head[16 * 2048 + 80 + i]);
    for (int i = 1; i >= 0; --i)
        blockSize = (blockSize << 8) | static_cast<unsigned char>(head[16 * 2048 + 128 + i]);
    return blocks * blockSize;
}

std::string DiskImageKind(const std::string& image) {
    return DiskImageKindOf(ReadBytes(image, 0, kImageHead));
}

bool ExtractDiskImage(const std::string& image, const std::string& folder, std::string& untidy,
                      std::string& error) {
    untidy.clear();
    if (!DiskToolsPresent(error))
        return false;
    const std::string kind = DiskImageKind(image);
    std::string said;
    if (kind == "floppy") {
        // The boot sector says how large the file system is; a shorter file is cut short.
        const std::string head = ReadBytes(image, 0, 512);
        const std::uintmax_t sector =
            static_cast<unsigned char>(head[11]) | static_cast<unsigned char>(head[12]) << 8;
        std::uintmax_t sectors =
            static_cast<unsigned char>(head[19]) | static_cast<unsigned char>(head[20]) << 8;
        for (int i = 3; sectors == 0 && i >= 0; --i)
            sectors = (sectors << 8) | static_cast<unsigned char>(head[32 + i]);
        std::error_code failure;
        const std::uintmax_t size = fs::file_size(image, failure);
        if (failure || sector * sectors > size) {
            error = image + ": a cut-short FAT image (" + Thousands(size) + " bytes of the " +
                    Thousands(sector * sectors) + " its boot sector gives)";
            return false;
        }
        // mtools reads the files as DOS and Windows would; fsck.fat's word decides only where
        // they cannot be read.
        std::string checked;
        const int fsck = RunTool({"fsck.fat", "-n", image}, &checked);
        const bool clean = fsck == 0;
        const bool copied = RunTool({"mcopy", "-s", "-n", "-i", image, "::/*", folder}, &said) == 0;
        if (!copied && (!clean || !fs::is_empty(folder))) {
            error = image + ": a damaged or cut-short FAT image (" +
                    (clean ? "mcopy: " + said : "fsck.fat: " + checked) + ")";
            return false;
        }
        if (!clean)
            untidy = "fsck.fat -n exits " + std::to_string(fsck) +
                     (checked.empty() ? std::string() : " (" + checked + ")");
        return true;
    }
    if (kind.empty()) {
        error = image + ": neither a FAT floppy image nor an ISO 9660 CD image";
        return false;
    }
    // The primary volume descriptor says how large the volume is; a shorter file is cut short.
    const std::uintmax_t volume = IsoVolumeBytes(ReadBytes(image, 0, kImageHead));
    std::error_code failure;
    const std::uintmax_t size = fs::file_size(image, failure);
    if (volume == 0 || failure || volume > size) {
        error = image + ": a cut-short ISO 9660 image (" + Thousands(size) + " bytes of the " +
                Thousands(volume) + " its volume descriptor gives)";
        return false;
    }
    // Windows reads Joliet names where there are any, else the ISO 9660 ones; never Rock Ridge.
    if (RunTool({"bsdtar", "--options", "!rockridge", "-xf", image, "-C", folder}, &said) != 0) {
        error = image + ": bsdtar could not read it: " + said;
        return false;
    }
    return true;
}
