// A driver package as the disk it ships on: a 1,474,560-byte FAT12 floppy or an ISO 9660 CD
// image, made with fixed times so that the same package gives the same bytes, and read back
// with its names as Windows reads them.
#pragma once

#include <cstdint>
#include <string>

struct DiskBuild {
    std::string package;  // the folder on this computer
    std::string image;    // the file to write
    bool floppy = true;   // else a CD
    bool joliet = true;   // a CD's Joliet names, which Windows 98 SE to XP read
    bool f6Only = false;  // a floppy of TXTSETUP.OEM, its tag files and the files it names
    std::string label;
};

// Writes the image; on refusal (too large, a name the medium would change, a tool failing)
// writes nothing and says why in error, with the sizes where size is the reason.
bool BuildDiskImage(const DiskBuild& build, std::string& error);

// What an image is: "floppy", "cd-joliet" or "cd" (ISO 9660 names only); "" when neither.
std::string DiskImageKind(const std::string& image);
std::string DiskImageKindOf(const std::string& head);

// The bytes of an ISO 9660 volume by its primary volume descriptor (blocks times block size),
// from the image's first 64 KiB; 0 when there is none.
std::uintmax_t IsoVolumeBytes(const std::string& head);

// Copies the image's files into folder (which exists and is empty), with their names as
// Windows reads them: a FAT image's long names, a CD's Joliet names or else its ISO 9660 ones.
// An image a reader of its file system cannot read is refused with the reason in error; a FAT
// image that reads but that fsck.fat would tidy (mkdosfs leaves the volume label blank, which
// fsck.fat takes for a fault) gives fsck.fat's words in untidy.
bool ExtractDiskImage(const std::string& image, const std::string& folder, std::string& untidy,
                      std::string& error);
