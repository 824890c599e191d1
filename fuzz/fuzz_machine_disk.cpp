// libFuzzer target: bytes as a raw disk image, through The Sleuth Kit's partition tables and
// file systems as keycheck asks them: the Windows folders found, and each one's registry file
// read.
//
// Checks beyond "no crash": no endless walk (libFuzzer's timeout: a FAT chain or a directory
// that loops); every folder names its partition and a registry file inside itself; a file read
// is never larger than the limit given; the same bytes give the same folders.
#include "fuzz/reg_tree_dump.h"
#include "tools/keycheck/diskimage/disk_image.h"

#include <cstdint>
#include <string>

namespace {
const std::uint64_t kLimit = 1u << 20;

std::string Folders(const std::string& bytes) {
    std::string error;
    const std::unique_ptr<DiskImage> image = OpenRawDiskImage(bytes, error);
    if (image == nullptr)
        return "error " + error;
    std::string said = image->TableProblem() + "\n";
    for (const WindowsFolder& folder : image->Folders()) {
        FuzzRequire(folder.registryFile.compare(0, folder.name.size() + 1, folder.name + "\\") == 0,
                    "machine disk", "a registry file outside its folder");
        FuzzRequire(folder.partition >= 0 && !folder.partitionText.empty(), "machine disk",
                    "a folder without its partition");
        std::uint64_t given = 0;
        const bool read = image->ReadFile(
            folder, folder.registryFile, kLimit,
            [&given](const char*, std::size_t size) {
                given += size;
                return true;
            },
            error);
        FuzzRequire(given <= kLimit, "machine disk", "a file read past its limit");
        said += folder.partitionText + " " + folder.registryFile + " " +
                std::to_string(read ? given : 0) + "\n";
    }
    return said;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FuzzRequire(Folders(bytes) == Folders(bytes), "machine disk",
                "the same bytes gave other folders");
    return 0;
}
