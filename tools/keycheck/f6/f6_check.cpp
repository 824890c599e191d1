// The F6 checks: TXTSETUP.OEM by the rules text-mode setup goes by, and its PCI IDs against
// key.ini and the models Windows 2000 and XP read.
//
// The rules are those of Microsoft's TxtSetup.oem pages (learn.microsoft.com, "TxtSetup.oem File
// Format" and one page for each of its sections) and of KB885756:
// - [Disks] diskN = "description",tagfile,directory: the tag file tells setup the right disk
//   is in; both paths start at the disk's root.
// - [Defaults] component = ID names an option of the component's section.
// - [Files.component.ID] "must be present for each option" of a component; filetype =
//   diskN,filename[,DriverKey], diskN "must match an entry in the Disks section", file names
//   no longer than 8.3.
// - [Config.DriverKey] values go under Services\DriverKey, the key of the option's driver.
// - [HardwareIds.scsi.ID] id = "deviceID","service": the service is the driver's image name
//   without .sys (the option's DriverKey, where it differs, draws only a warning).
// - KB885756: of several driver= lines in one option, text-mode setup loads the first only.
// - [Files.scsi.ID] catalog = diskN,name: the catalog of the option's driver and INF, which must
//   hold their hashes for setup to take the F6 driver as signed.
#include "tools/keycheck/f6/f6_check.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/pciid/pci_id.h"
#include "tools/keycheck/signing/signing_check.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace {
// Services of text-mode setup's own, which an F6 file may name for a device it does not
// carry a driver of: usbstor, which XP's TXTSETUP.SIF gives its USB floppy drives, so that F6
// files add lines for others (KB916196 lists the drives TXTSETUP.SIF has and those it lacks).
bool IsTextModeService(const std::string& upperService) {
    return upperService == "USBSTOR";
}
const char* const kFormat = " (\"TxtSetup.oem File Format\")";

class Checker {
public:
    Checker(const PackageFiles& disk, const TxtSetupFile& file, bool readCatalogs, F6Check& result)
        : m_disk(disk), m_file(file), m_readCatalogs(readCatalogs && CatalogsReadable()),
          m_result(result) {}

    void Run() {
        for (const char* required : {"Disks", "Defaults"}) {
            if (m_file.Section(required) == nullptr)
                Say(Code::MissingSection, 0,
                    std::string("no [") + required +
                        "] section: text-mode setup cannot use "
                        "the disk" +
                        kFormat);
        }
        Disks();
        Components();
        Configs();
    }

private:
    void Say(Code code, int line, const std::string& text) {
        m_result.findings.push_back(MakeFinding(code, kF6FileName, line, text));
    }

    // A path of the disk (from its root, "\\" or "\\sub\\file") as the package names it.
    static std::string DiskPath(std::string path) {
        while (!path.empty() && (path[0] == '\\' || path[0] == '/'))
            path.erase(0, 1);
        return path;
    }
    bool OnDisk(const std::string& path) const { return m_disk.Exists(DiskPath(path)); }

    void Disks() {
        const TxtSetupSection* disks = m_file.Section("Disks");
        if (disks == nullptr)
            return;
        for (const TxtSetupEntry& disk : disks->entries) {
            if (!disk.hasKey || disk.fields.size() < 3 || disk.fields[1].empty()) {
                Say(Code::BadDiskLine, disk.line,
                    "a [Disks] line without its three fields (\"description\",tagfile,"
                    "directory): setup cannot find the disk (\"Disks Section of a "
                    "TxtSetup.oem File\")");
                continue;
            }
            std::string directory = disk.fields[2];
            if (!directory.empty() && directory.back() != '\\')
                directory += '\\';
            m_diskDirs[AsciiUpper(disk.key)] = directory;
            if (!OnDisk(disk.fields[1]))
                Say(Code::MissingTagFile, disk.line,
                    "the tag file " + disk.fields[1] +
                        " is not on the disk: setup asks for the disk again and again "
                        "(\"Disks Section of a TxtSetup.oem File\")");
        }
    }

    void Components() {
        const TxtSetupSection* scsi = m_file.Section("scsi");
        if (scsi == nullptr) {
            Say(Code::MissingSection, 0,
                std::string("no [scsi] section: the disk offers no mass storage "
                            "driver") +
                    kFormat);
            return;
        }
        const TxtSetupSection* defaults = m_file.Section("Defaults");
        for (const TxtSetupEntry& entry : defaults == nullptr ? kNone : defaults->entries) {
            if (AsciiUpper(entry.key) == "SCSI" &&
                !std::any_of(scsi->entries.begin(), scsi->entries.end(),
                             [&](const TxtSetupEntry& option) {
                                 return AsciiUpper(option.key) == AsciiUpper(entry.fields[0]);
                             }))
                Say(Code::BadDefault, entry.line,
                    "[Defaults] names the option " + entry.fields[0] +
                        ", which [scsi] does not list (\"Defaults Section of a "
                        "TxtSetup.oem File\")");
        }
        for (const TxtSetupEntry& option : scsi->entries)
            Option(option);
    }

    void Option(const TxtSetupEntry& option) {
        const TxtSetupSection* files = m_file.Section("Files.scsi." + option.key);
        if (files == nullptr) {
            Say(Code::NoFilesSection, option.line,
                "the option " + option.key + " has no [Files.scsi." + option.key +
                    "] section: setup has nothing to copy for it (\"Files.HwComponent.ID "
                    "Section of a TxtSetup.oem File\")");
            return;
        }
        std::vector<std::string> drivers;  // DriverKey of each driver line, in order
        std::vector<std::string> images;   // file names of the driver lines, upper case
        const TxtSetupEntry* catalog = nullptr;
        std::vector<std::pair<const TxtSetupEntry*, std::string>> signedFiles;  // driver, inf
        for (const TxtSetupEntry& line : files->entries) {
            if (!line.hasKey || line.fields.size() < 2)
                continue;
            const std::string type = AsciiUpper(line.key);
            const auto disk = m_diskDirs.find(AsciiUpper(line.fields[0]));
            if (disk == m_diskDirs.end()) {
                Say(Code::UnknownDisk, line.line,
                    "the disk " + line.fields[0] +
                        " is defined in no [Disks] line: setup cannot copy " + line.fields[1] +
                        " (\"Files.HwComponent.ID Section of a TxtSetup.oem File\")");
            } else if (!OnDisk(disk->second + line.fields[1])) {
                Say(Code::MissingDiskFile, line.line,
                    line.fields[1] + " is not in the disk's folder " + disk->second +
                        ": setup stops the install there");
            }
            if (disk != m_diskDirs.end() && (type == "DRIVER" || type == "INF"))
                signedFiles.emplace_back(&line, DiskPath(disk->second + line.fields[1]));
            if (disk != m_diskDirs.end() && type == "CATALOG") {
                catalog = &line;
                m_catalogPath = DiskPath(disk->second + line.fields[1]);
            }
            if (!IsShortName(line.fields[1]))
                Say(Code::LongFileName, line.line,
                    line.fields[1] + " is no 8.3 name: text-mode setup reads 8.3 names "
                                     "only (\"Files.HwComponent.ID Section of a "
                                     "TxtSetup.oem File\")");
            if (type == "DRIVER") {
                if (!drivers.empty())
                    Say(Code::SeveralDrivers, line.line,
                        "a second driver= line in [" + files->name +
                            "]: text-mode setup loads the first driver only (KB885756)");
                drivers.push_back(line.fields.size() > 2 ? AsciiUpper(line.fields[2]) : "");
                std::string image = AsciiUpper(line.fields[1]);
                if (image.size() > 4 && image.compare(image.size() - 4, 4, ".SYS") == 0)
                    image.erase(image.size() - 4);
                images.push_back(image);
            }
        }
        m_allDrivers.insert(m_allDrivers.end(), drivers.begin(), drivers.end());
        if (catalog != nullptr)
            Catalog(*catalog, signedFiles);
        HardwareIds(option, images, drivers);
    }

    // The option's catalog= line: its catalog holds the hash of each driver and INF the option
    // copies, as text-mode setup checks the F6 driver's files.
    void Catalog(const TxtSetupEntry& line,
                 const std::vector<std::pair<const TxtSetupEntry*, std::string>>& signedFiles) {
        const PackageFile* file = m_disk.Find(m_catalogPath);
        if (!m_readCatalogs || file == nullptr)
            return;
        std::string bytes, why;
        m_disk.Read(*file, bytes, why);
        const ::Catalog read = ReadCatalog(bytes);
        if (!read.read) {
            Say(Code::CatalogUnreadable, line.line,
                line.fields[1] + " is no catalog Windows can use: " + read.problem);
            return;
        }
        for (const auto& signedFile : signedFiles) {
            if (m_disk.Exists(signedFile.second) &&
                !CatalogCovers(m_disk, signedFile.second, read, why))
                Say(Code::NotInCatalog, signedFile.first->line,
                    signedFile.first->fields[1] + " is not in " + line.fields[1] + ": " + why +
                        "; setup takes the F6 driver as unsigned");
        }
    }

    void HardwareIds(const TxtSetupEntry& option, const std::vector<std::string>& images,
                     const std::vector<std::string>& driverKeys) {
        const TxtSetupSection* ids = m_file.Section("HardwareIds.scsi." + option.key);
        if (ids == nullptr)
            return;
        for (const TxtSetupEntry& id : ids->entries) {
            if (id.fields.empty())
                continue;
            m_result.ids.push_back(id.fields[0]);
            PciIdParts parts;
            if (AsciiUpper(id.fields[0]).compare(0, 4, "PCI\\") == 0 &&
                !ParsePciId(id.fields[0], parts))
                Say(Code::BadPciId, id.line,
                    "\"" + id.fields[0] + "\" is not a PCI ID Windows reports for any device");
            const std::string service = id.fields.size() > 1 ? AsciiUpper(id.fields[1]) : "";
            if (std::find(images.begin(), images.end(), service) != images.end() ||
                IsTextModeService(service))
                continue;
            // The page says the image's name; a DriverKey other than the image's name is the
            // service's key, and disks that name it so are known to install (WinVBlock's).
            if (!service.empty() &&
                std::find(driverKeys.begin(), driverKeys.end(), service) != driverKeys.end())
                Say(Code::ServiceIsDriverKey, id.line,
                    "the service \"" + id.fields[1] + "\" of " + id.fields[0] +
                        " is the driver's DriverKey, not its image name, which the page "
                        "asks for (\"HardwareIds.scsi.ID Section of a TxtSetup.oem File\")");
            else
                Say(Code::ServiceNotDriver, id.line,
                    "the service \"" + (id.fields.size() > 1 ? id.fields[1] : "") + "\" of " +
                        id.fields[0] +
                        " is not the image name of the option's driver: setup starts no "
                        "driver for it (\"HardwareIds.scsi.ID Section of a TxtSetup.oem "
                        "File\")");
        }
    }

    // [Config.X] sections whose X is the DriverKey of no driver line: their values are never
    // written ("Config.DriverKey Section of a TxtSetup.oem File").
    void Configs() {
        for (const TxtSetupSection& section : m_file.sections) {
            const std::string upper = AsciiUpper(section.name);
            if (upper.compare(0, 7, "CONFIG.") == 0 &&
                std::find(m_allDrivers.begin(), m_allDrivers.end(), upper.substr(7)) ==
                    m_allDrivers.end())
                Say(Code::ConfigNotDriverKey, section.line,
                    "[" + section.name +
                        "] is named after no driver's DriverKey: setup never writes its "
                        "values (\"Config.DriverKey Section of a TxtSetup.oem File\")");
        }
    }

private:
    static bool IsShortName(const std::string& name) {
        const std::size_t dot = name.find('.');
        const std::string base = name.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
        return !base.empty() && base.size() <= 8 && extension.size() <= 3 &&
               extension.find('.') == std::string::npos &&
               name.find_first_of(" +,;=[]") == std::string::npos;
    }

    static const std::vector<TxtSetupEntry> kNone;
    const PackageFiles& m_disk;
    const TxtSetupFile& m_file;
    bool m_readCatalogs;
    F6Check& m_result;
    std::string m_catalogPath;
    std::map<std::string, std::string> m_diskDirs;  // upper-case key -> directory ending in '\'
    std::vector<std::string> m_allDrivers;  // the DriverKey of every driver line, upper case
};
const std::vector<TxtSetupEntry> Checker::kNone;
}  // namespace

namespace {
// Keeps the devices of a list once each, in the order met, and answers whether it holds one.
class DeviceList {
public:
    void Add(const std::string& device) {
        if (!device.empty() && m_held.insert(device).second)
            m_order.push_back(device);
    }
    bool Holds(const std::string& device) const { return m_held.count(device) != 0; }
    const std::vector<std::string>& Order() const { return m_order; }

private:
    std::vector<std::string> m_order;
    std::unordered_set<std::string> m_held;
};

// The three lists of devices (whole VEN_&DEV_): TXTSETUP.OEM's, key.ini's and the models' 2000
// and XP read; says which device each list lacks.
void CompareLists(const Package& package, F6Check& result) {
    if (!package.keyFile.found)
        return;
    result.crossChecked = true;
    DeviceList f6, keyIni, models, all;
    for (const std::string& id : result.ids)
        f6.Add(PciDeviceOf(id));
    for (const std::string& entry : package.keyFile.table)
        keyIni.Add(PciDeviceOf("PCI\\" + entry));
    for (OsType version : kF6Versions) {
        for (const ModelLine& line : package.InfFor(version).models.lines) {
            models.Add(PciDeviceOf(line.hardwareId));
            for (const std::string& id : line.compatibleIds)
                models.Add(PciDeviceOf(id));
        }
    }
    for (const DeviceList* list : {&keyIni, &models, &f6}) {
        for (const std::string& device : list->Order())
            all.Add(device);
    }
    for (const std::string& device : all.Order()) {
        std::string missing;
        if (!f6.Holds(device))
            missing += kF6FileName;
        if (!keyIni.Holds(device))
            missing += std::string(missing.empty() ? "" : " and ") + "key.ini";
        if (!models.Holds(device))
            missing += std::string(missing.empty() ? "" : " and ") + "the models 2000 and XP read";
        if (missing.empty())
            continue;
        // A controller the F6 file lacks installs on a running XP and cannot carry XP's own
        // installation; one key.ini or the models lack is refused or gets no driver once
        // Windows runs.
        const bool f6Lacks = !f6.Holds(device);
        result.findings.push_back(MakeFinding(
            f6Lacks ? Code::F6LacksDevice : Code::DeviceOnlyInF6, kF6FileName, 0,
            device + ": " + missing + " lack" +
                (missing.find(" and ") == std::string::npos ? "s" : "") + " it" +
                (f6Lacks ? "; it installs on a running Windows but cannot be used to install "
                           "Windows 2000 or XP onto it"
                         : "; text-mode setup installs it, Windows later finds no driver or the "
                           "launcher refuses it")));
    }
}
}  // namespace

F6Check CheckF6File(const Package& package, bool readCatalogs) {
    F6Check result;
    result.found = package.hasF6File;
    if (!result.found)
        return result;
    Checker(package.files, package.f6File, readCatalogs, result).Run();
    CompareLists(package, result);
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         const bool aWarning = a.severity != Severity::Finding;
                         const bool bWarning = b.severity != Severity::Finding;
                         return aWarning != bWarning ? !aWarning : a.line < b.line;
                     });
    return result;
}
