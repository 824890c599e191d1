// Disk images through The Sleuth Kit (raw, VHD and VMDK images, partition tables, FAT and NTFS)
// and libqcow (qcow2, given to The Sleuth Kit as an external image).
#include "tools/keycheck/diskimage/disk_image.h"

#include "tools/keycheck/thirdparty/known_leaks.h"

#include "tools/keycheck/diskimage/tsk_library.h"

#include <libqcow.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace {
// Only called once OpenDiskImage or OpenRawDiskImage has loaded the library.
const TskLibrary& Tsk() {
    std::string unused;
    return *LoadTsk(unused);
}

// A partition table that lists more than this is damaged or made to exhaust the reader.
const TSK_PNUM_T kMaxPartitions = 128;
const std::size_t kMaxRootEntries = 4096;
const std::size_t kChunk = 256u << 10;

// An image The Sleuth Kit reads through our own callbacks: the TSK_IMG_INFO first, as
// tsk_img_open_external requires, then what the callbacks read from.
struct External {
    TSK_IMG_INFO info;
    std::string bytes;                     // a raw image held in memory
    libqcow_file_t* qcow = nullptr;        // or a qcow2 image
    std::vector<libqcow_file_t*> backing;  // and the images it is an overlay of, nearest first
};

// A qcow2 image opened with the chain of images it is an overlay of (a snapshot's, or a
// virtual machine manager's disk over its template), each one's backing file named in its
// header relative to its own folder. False when one of them cannot be read.
const int kMaxBacking = 16;

bool OpenQcow(const std::filesystem::path& path, libqcow_file_t*& file,
              std::vector<libqcow_file_t*>& backing, int depth) {
    if (depth > kMaxBacking || libqcow_file_initialize(&file, nullptr) != 1)
        return false;
    if (libqcow_file_open(file, path.c_str(), LIBQCOW_OPEN_READ, nullptr) != 1)
        return false;
    std::size_t size = 0;
    if (libqcow_file_get_utf8_backing_filename_size(file, &size, nullptr) != 1 || size <= 1)
        return true;
    std::string name(size, '\0');
    if (libqcow_file_get_utf8_backing_filename(file, reinterpret_cast<std::uint8_t*>(&name[0]),
                                               size, nullptr) != 1)
        return false;
    name.resize(name.find('\0'));
    const std::filesystem::path parentPath = path.parent_path() / name;
    libqcow_file_t* parent = nullptr;
    const bool opened = OpenQcow(parentPath, parent, backing, depth + 1);
    if (parent != nullptr)
        backing.push_back(parent);
    return opened && libqcow_file_set_parent_file(file, parent, nullptr) == 1;
}

void FreeQcow(libqcow_file_t*& file) {
    libqcow_file_close(file, nullptr);
    libqcow_file_free(&file, nullptr);
}

ssize_t ReadExternal(TSK_IMG_INFO* info, TSK_OFF_T offset, char* buffer, std::size_t length) {
    External* image = reinterpret_cast<External*>(info);
    if (offset < 0)
        return -1;
    if (image->qcow != nullptr)
        return libqcow_file_read_buffer_at_offset(image->qcow, buffer, length, offset, nullptr);
    const std::uint64_t at = static_cast<std::uint64_t>(offset);
    if (at >= image->bytes.size())
        return 0;
    const std::size_t take = std::min<std::uint64_t>(length, image->bytes.size() - at);
    std::memcpy(buffer, image->bytes.data() + at, take);
    return static_cast<ssize_t>(take);
}

// The cache lock tsk_img_open_external made is a pthread mutex, which needs no destroying.
void CloseExternal(TSK_IMG_INFO* info) {
    External* image = reinterpret_cast<External*>(info);
    if (image->qcow != nullptr)
        FreeQcow(image->qcow);
    for (libqcow_file_t*& parent : image->backing)
        FreeQcow(parent);
    delete image;
}

void StatExternal(TSK_IMG_INFO*, FILE*) {}

TSK_IMG_INFO* OpenExternal(External* image, std::uint64_t size) {
    std::memset(&image->info, 0, sizeof image->info);
    image->info.tag = TSK_IMG_INFO_TAG;
    image->info.itype = TSK_IMG_TYPE_EXTERNAL;
    TSK_IMG_INFO* info = Tsk().img_open_external(image, static_cast<TSK_OFF_T>(size), 512,
                                                 ReadExternal, CloseExternal, StatExternal);
    if (info == nullptr)
        CloseExternal(&image->info);
    return info;
}

std::string LastTskError(const char* fallback) {
    const char* said = Tsk().error_get();
    std::string text = said != nullptr && *said != '\0' ? said : fallback;
    Tsk().error_reset();
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string Size(std::uint64_t bytes) {
    char text[32];
    if (bytes >= (1ull << 30))
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1ull << 30));
    else
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1ull << 20));
    return text;
}

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return "/" + path;
}

class TskImage final : public DiskImage {
public:
    TskImage(TSK_IMG_INFO* image, std::string format)
        : m_image(image), m_format(std::move(format)) {}
    ~TskImage() override {
        for (const auto& system : m_systems)
            Tsk().fs_close(system.second);
        Tsk().img_close(m_image);
    }
    TskImage(const TskImage&) = delete;
    TskImage& operator=(const TskImage&) = delete;

    std::string Format() const override { return m_format; }
    std::string TableProblem() const override { return m_tableProblem; }
    const std::vector<WindowsFolder>& Folders() const override { return m_folders; }

    bool ReadFile(const WindowsFolder& folder, const std::string& relative, std::uint64_t limit,
                  const Sink& sink, std::string& error) override {
        const auto system = m_systems.find(folder.partition);
        if (system == m_systems.end()) {
            error = "no file system of this image holds it";
            return false;
        }
        TSK_FS_FILE* file = Tsk().fs_file_open(system->second, nullptr, Slashed(relative).c_str());
        if (file == nullptr || file->meta == nullptr || file->meta->type != TSK_FS_META_TYPE_REG) {
            if (file != nullptr)
                Tsk().fs_file_close(file);
            error = "missing (" + LastTskError("no such file") + ")";
            return false;
        }
        const TSK_OFF_T size = file->meta->size;
        if (size < 0 || static_cast<std::uint64_t>(size) > limit) {
            Tsk().fs_file_close(file);
            error = "larger than any registry file";
            return false;
        }
        std::vector<char> chunk(static_cast<std::size_t>(std::min<TSK_OFF_T>(kChunk, size)) + 1);
        for (TSK_OFF_T at = 0; at < size;) {
            const std::size_t take = std::min<std::uint64_t>(kChunk, size - at);
            const ssize_t read =
                Tsk().fs_file_read(file, at, chunk.data(), take, TSK_FS_FILE_READ_FLAG_NONE);
            if (read > 0 && !sink(chunk.data(), static_cast<std::size_t>(read))) {
                Tsk().fs_file_close(file);
                error = "cannot be held";
                return false;
            }
            if (read <= 0) {
                Tsk().fs_file_close(file);
                error = "cannot be read (" + LastTskError("damaged") + ")";
                return false;
            }
            at += read;
        }
        Tsk().fs_file_close(file);
        return true;
    }

private:
    // A file system at offset, if there is one; kept open when it holds a Windows folder.
    bool Search(TSK_OFF_T offset, int partition, const std::string& where) {
        // Windows 98 to XP live on FAT or NTFS alone; asked to detect any file system, The
        // Sleuth Kit would also try the others, YAFFS2's reader scanning the whole partition.
        TSK_FS_INFO* fs = Tsk().fs_open_img(m_image, offset, TSK_FS_TYPE_FAT_DETECT);
        if (fs == nullptr) {
            Tsk().error_reset();
            fs = Tsk().fs_open_img(m_image, offset, TSK_FS_TYPE_NTFS_DETECT);
        }
        if (fs == nullptr) {
            Tsk().error_reset();
            return false;
        }
        std::string type = Tsk().fs_type_toname(fs->ftype);  // "fat32", "ntfs"
        for (char& c : type)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        const std::string text = where + " (" + type + ")";
        const std::size_t before = m_folders.size();
        if (TSK_FS_DIR* root = Tsk().fs_dir_open(fs, "/")) {
            const std::size_t count = std::min(Tsk().fs_dir_getsize(root), kMaxRootEntries);
            for (std::size_t i = 0; i < count; ++i) {
                const TSK_FS_NAME* name = Tsk().fs_dir_get_name(root, i);
                if (name == nullptr || name->name == nullptr || !TSK_FS_IS_DIR_NAME(name->type) ||
                    (name->flags & TSK_FS_NAME_FLAG_ALLOC) == 0 || name->name[0] == '.' ||
                    name->name[0] == '$')
                    continue;
                const std::string folder = name->name;
                for (const bool nt : {false, true}) {
                    const std::string file =
                        folder + (nt ? "\\system32\\config\\SYSTEM" : "\\SYSTEM.DAT");
                    TSK_FS_FILE* found = Tsk().fs_file_open(fs, nullptr, Slashed(file).c_str());
                    const bool regular = found != nullptr && found->meta != nullptr &&
                                         found->meta->type == TSK_FS_META_TYPE_REG;
                    if (found != nullptr)
                        Tsk().fs_file_close(found);
                    Tsk().error_reset();
                    if (regular)
                        m_folders.push_back(WindowsFolder{partition, text, folder, nt, file});
                }
            }
            Tsk().fs_dir_close(root);
        }
        Tsk().error_reset();
        if (m_folders.size() > before)
            m_systems[partition] = fs;
        else
            Tsk().fs_close(fs);
        return true;
    }

public:
    // Finds the Windows folders; false, with why, for a partition table that is damaged: a
    // partition that runs past the end of the image, or two that overlap.
    bool FindFolders(std::string& why) {
        TSK_VS_INFO* table = Tsk().vs_open(m_image, 0, TSK_VS_TYPE_DETECT);
        if (table == nullptr) {
            // No partition table The Sleuth Kit takes: a file system from the first sector, or
            // else a damaged table, whose fault its DOS reader alone names (detection tries
            // each kind of table, and the last one's complaint is kept).
            Tsk().error_reset();
            if (!Search(0, 0, "the whole image")) {
                if (TSK_VS_INFO* dos = Tsk().vs_open(m_image, 0, TSK_VS_TYPE_DOS))
                    Tsk().vs_close(dos);
                else
                    m_tableProblem = LastTskError("");
            }
            return true;
        }
        struct Part {
            std::uint64_t start, length;
            int number;
        };
        std::vector<Part> parts;
        const std::uint64_t sector = table->block_size;
        const std::uint64_t sectors = static_cast<std::uint64_t>(m_image->size) / sector;
        for (TSK_PNUM_T i = 0; i < table->part_count && i < kMaxPartitions; ++i) {
            const TSK_VS_PART_INFO* part = Tsk().vs_part_get(table, i);
            if (part == nullptr || (part->flags & TSK_VS_PART_FLAG_ALLOC) == 0)
                continue;
            parts.push_back(Part{part->start, part->len, static_cast<int>(parts.size()) + 1});
        }
        Tsk().vs_close(table);
        Tsk().error_reset();
        for (const Part& part : parts) {
            if (part.start > sectors || part.length > sectors - part.start) {
                why = "the partition table is damaged: partition " + std::to_string(part.number) +
                      " runs past the end of the image";
                return false;
            }
            for (const Part& other : parts) {
                if (other.number > part.number && other.start < part.start + part.length &&
                    part.start < other.start + other.length) {
                    why = "the partition table is damaged: partitions " +
                          std::to_string(part.number) + " and " + std::to_string(other.number) +
                          " overlap";
                    return false;
                }
            }
        }
        for (const Part& part : parts)
            Search(static_cast<TSK_OFF_T>(part.start * sector), part.number,
                   "partition " + std::to_string(part.number) + ", " + Size(part.length * sector) +
                       " from sector " + std::to_string(part.start));
        return true;
    }

private:
    TSK_IMG_INFO* m_image;
    std::string m_format;
    std::vector<WindowsFolder> m_folders;
    std::map<int, TSK_FS_INFO*> m_systems;  // by partition, those holding a Windows folder
    std::string m_tableProblem;
};

std::unique_ptr<DiskImage> Opened(TSK_IMG_INFO* image, std::string format, const std::string& name,
                                  std::string& error) {
    auto opened = std::make_unique<TskImage>(image, std::move(format));
    std::string why;
    if (!opened->FindFolders(why)) {
        error = name + ": " + why;
        return nullptr;
    }
    return opened;
}

std::string FormatOf(const TSK_IMG_INFO* image) {
    switch (image->itype) {
    case TSK_IMG_TYPE_VHD_VHD:
        return "VHD";
    case TSK_IMG_TYPE_VMDK_VMDK:
        return "VMDK";
    default:
        return "raw";
    }
}

bool Starts(const std::string& path, const std::string& signature, std::uint64_t at) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(signature.size(), '\0');
    return file.seekg(static_cast<std::streamoff>(at)) &&
           file.read(&bytes[0], static_cast<std::streamsize>(bytes.size())) && bytes == signature;
}
// A fixed VHD is the raw disk with a 512-byte footer, "conectix" first, at its end.
bool EndsWithVhdFooter(const std::string& path) {
    std::error_code failure;
    const std::uint64_t size = std::filesystem::file_size(path, failure);
    return !failure && size >= 512 && Starts(path, "conectix", size - 512);
}
}  // namespace

std::unique_ptr<DiskImage> OpenDiskImage(const std::string& path, std::string& error) {
    if (LoadTsk(error) == nullptr) {
        error = path + ": a disk image, but " + error;
        return nullptr;
    }
    Tsk().error_reset();
    if (Starts(path, "\x7F\x10\xDA\xBE", 0x40)) {
        error = path + ": a VirtualBox VDI image, which keycheck reads through no library; "
                       "convert it first: qemu-img convert -O raw IMAGE.vdi IMAGE.img";
        return nullptr;
    }
    TSK_IMG_INFO* image = nullptr;
    std::string format;
    if (Starts(path, "QFI\xFB", 0)) {
        External* qcow = new External();
        size64_t size = 0;
        if (!OpenQcow(path, qcow->qcow, qcow->backing, 0) ||
            libqcow_file_get_media_size(qcow->qcow, &size, nullptr) != 1) {
            CloseExternal(&qcow->info);
            error = path + ": a qcow image libqcow cannot read: damaged or encrypted, or the "
                           "image it is an overlay of is missing or unreadable";
            return nullptr;
        }
        image = OpenExternal(qcow, size);
        format = "qcow2";
    } else {
        // The format is told by its signature, as The Sleuth Kit's own detection would: its
        // probes through libvhdi and libvmdk leak what they allocate for a file of another
        // format.
        const TSK_IMG_TYPE_ENUM type =
            Starts(path, "conectix", 0) || EndsWithVhdFooter(path) ? TSK_IMG_TYPE_VHD_VHD
            : Starts(path, "KDMV", 0) || Starts(path, "# Disk DescriptorFile", 0)
                ? TSK_IMG_TYPE_VMDK_VMDK
                : TSK_IMG_TYPE_RAW;
        image = Tsk().img_open_utf8_sing(path.c_str(), type, 0);
        if (image != nullptr)
            format = FormatOf(image);
    }
    if (image == nullptr) {
        error = path + ": a disk image The Sleuth Kit cannot read (" +
                LastTskError("unknown format") + ")";
        return nullptr;
    }
    return Opened(image, format, path, error);
}

std::unique_ptr<DiskImage> OpenRawDiskImage(std::string bytes, std::string& error) {
    if (LoadTsk(error) == nullptr)
        return nullptr;
    Tsk().error_reset();
    External* raw = new External();
    raw->bytes = std::move(bytes);
    const std::uint64_t size = raw->bytes.size();
    TSK_IMG_INFO* image = OpenExternal(raw, size);
    if (image == nullptr) {
        error = "the image: " + LastTskError("cannot be opened");
        return nullptr;
    }
    return Opened(image, "raw", "the image", error);
}
