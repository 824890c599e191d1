// The signatures keycheck tells a disk image by.
#include "tools/keycheck/diskimage/disk_image.h"

bool LooksLikeDiskImage(const std::string& head, const std::string& tail) {
    const auto at = [&head](std::size_t offset, const std::string& text) {
        return head.size() >= offset + text.size() && head.compare(offset, text.size(), text) == 0;
    };
    return at(0, "QFI\xFB") || at(0, "conectix") || at(0, "KDMV") ||
           at(0, "# Disk DescriptorFile") || at(0x40, "\x7F\x10\xDA\xBE") ||
           tail.compare(0, 8, "conectix") == 0 || at(510, "\x55\xAA");
}
