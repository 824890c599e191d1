// A machine's disk as an image file: a virtual machine's disk (raw, VHD, VMDK, qcow2) or a
// drive's copy. The Windows folders on its partitions are found, and their registry files read,
// through The Sleuth Kit (Debian's libtsk-dev: the image formats, the partition tables, FAT and
// NTFS) and libqcow (qcow2, which The Sleuth Kit lacks), where the build has them; keycheck.exe
// has none and says so.
//
// Thread rule: an image belongs to one thread; opening touches nothing shared.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A folder at the root of a file system holding a Windows registry: SYSTEM.DAT (98/Me) or
// system32\config\SYSTEM (2000/XP), whatever the folder's name (WINDOWS, WIN98, WINNT ...).
struct WindowsFolder {
    int partition = 0;          // as listed from 1; 0 for a file system without a partition table
    std::string partitionText;  // "partition 1 (FAT32, 2.0 GiB from sector 63)"
    std::string name;           // as the file system spells it
    bool nt = false;            // system32\config\SYSTEM; else SYSTEM.DAT
    std::string registryFile;   // below the file system's root: "WIN98\SYSTEM.DAT"
};

class DiskImage {
public:
    virtual ~DiskImage() = default;

    // "raw", "VHD", "VMDK", "qcow2"
    virtual std::string Format() const = 0;
    // What The Sleuth Kit found wrong with a partition table it would not take, where the image
    // then shows no Windows folder; else "".
    virtual std::string TableProblem() const = 0;
    // Every Windows folder of every partition, in the partitions' order.
    virtual const std::vector<WindowsFolder>& Folders() const = 0;
    // Gives sink, a piece at a time, the file at relative (backslashes, any case) below the
    // root of folder's file system, if it is of at most limit bytes. False, with why, when it is
    // missing, larger, unreadable, or sink refuses a piece.
    using Sink = std::function<bool(const char* data, std::size_t size)>;
    virtual bool ReadFile(const WindowsFolder& folder, const std::string& relative,
                          std::uint64_t limit, const Sink& sink, std::string& error) = 0;
};

// Whether a file whose first bytes are head and last 512 bytes are tail is a disk image
// keycheck knows by its signature: a boot sector's 0x55 0xAA, a VHD's "conectix", a VMDK's
// "KDMV" or descriptor, qcow's "QFI\xfb", or VirtualBox's VDI (which keycheck names and refuses).
bool LooksLikeDiskImage(const std::string& head, const std::string& tail);

// The image at path, or null with error: one line naming path and what is wrong (an unknown or
// damaged image, or this build reads none).
std::unique_ptr<DiskImage> OpenDiskImage(const std::string& path, std::string& error);

// The same for a raw image held in memory (the tests and the fuzzer).
std::unique_ptr<DiskImage> OpenRawDiskImage(std::string bytes, std::string& error);
