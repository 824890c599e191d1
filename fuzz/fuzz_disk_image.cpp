// libFuzzer target: the first 64 KiB of a disk image, through what keycheck reads of them
// itself (the rest is mtools' and libarchive's): what the image is, and an ISO volume's size.
//
// Checks beyond "no crash": the kind is one of four; a CD's volume size is that of its
// descriptor's fields, at most 2^32 blocks of 65,535 bytes; the same bytes give the same answer.
#include "fuzz/reg_tree_dump.h"
#include "tools/keycheck/disk/disk_image.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string head(reinterpret_cast<const char*>(data), size);
    const std::string kind = DiskImageKindOf(head);
    FuzzRequire(kind.empty() || kind == "floppy" || kind == "cd" || kind == "cd-joliet",
                "disk image", "an image of an unknown kind");
    FuzzRequire(kind == DiskImageKindOf(head), "disk image", "the same bytes give another kind");
    const std::uintmax_t volume = IsoVolumeBytes(head);
    FuzzRequire(volume <= 0xFFFFFFFFull * 0xFFFFull, "disk image",
                "a volume larger than its fields");
    FuzzRequire(kind.compare(0, 2, "cd") != 0 || head.size() > 16 * 2048, "disk image",
                "a CD without its volume descriptors");
    return 0;
}
