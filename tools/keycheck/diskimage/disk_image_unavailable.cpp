// Disk images in a build without The Sleuth Kit (keycheck.exe): refused with one line.
#include "tools/keycheck/diskimage/disk_image.h"

namespace {
const char* const kNone = ": a disk image; this keycheck reads none (the Debian build does, "
                          "through The Sleuth Kit)";
}  // namespace

std::unique_ptr<DiskImage> OpenDiskImage(const std::string& path, std::string& error) {
    error = path + kNone;
    return nullptr;
}

std::unique_ptr<DiskImage> OpenRawDiskImage(std::string bytes, std::string& error) {
    (void)bytes;
    error = std::string("the image") + kNone;
    return nullptr;
}
