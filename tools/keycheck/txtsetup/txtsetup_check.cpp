// keycheck txtsetup: TXTSETUP.OEM by the rules text-mode setup goes by, and its PCI IDs against
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
#include "tools/keycheck/txtsetup/txtsetup_check.h"

#include "sim/fake_os.h"
#include "tools/keycheck/inf/version_inf.h"
#include "tools/keycheck/package/package_lint.h"
#include "tools/keycheck/txtsetup/txtsetup_file.h"
#include "tools/keycheck/xref/pci_id_form.h"

#include <algorithm>
#include <map>

namespace {
const char* const kFile = "TXTSETUP.OEM";
const char* const kFormat = " (\"TxtSetup.oem File Format\")";

class Checker {
public:
    Checker(CFakeOs& machine, const std::string& dir, const TxtSetupFile& file,
            TxtSetupResult& result)
        : m_machine(machine), m_dir(dir), m_file(file), m_result(result) {}

    void Run() {
        for (const char* required : {"Disks", "Defaults"}) {
            if (m_file.Section(required) == nullptr)
                Finding("missing-section", 0,
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
    void Finding(const char* code, int line, const std::string& text, bool warning = false) {
        m_result.findings.push_back(TxtSetupFinding{code, kFile, line, warning, text});
    }

    // A path of the disk (from its root, "\" or "\sub\file") as the fake machine names it.
    std::string OnDisk(std::string path) const {
        while (!path.empty() && (path[0] == '\\' || path[0] == '/'))
            path.erase(0, 1);
        return m_dir + path;
    }

    void Disks() {
        const TxtSetupSection* disks = m_file.Section("Disks");
        if (disks == nullptr)
            return;
        for (const TxtSetupEntry& disk : disks->entries) {
            if (!disk.hasKey || disk.fields.size() < 3 || disk.fields[1].empty()) {
                Finding("bad-disk-line", disk.line,
                        "a [Disks] line without its three fields (\"description\",tagfile,"
                        "directory): setup cannot find the disk (\"Disks Section of a "
                        "TxtSetup.oem File\")");
                continue;
            }
            std::string directory = disk.fields[2];
            if (!directory.empty() && directory.back() != '\\')
                directory += '\\';
            m_diskDirs[TxtUpper(disk.key)] = directory;
            if (!m_machine.FileExists(OnDisk(disk.fields[1])))
                Finding("missing-tag-file", disk.line,
                        "the tag file " + disk.fields[1] +
                            " is not on the disk: setup asks for the disk again and again "
                            "(\"Disks Section of a TxtSetup.oem File\")");
        }
    }

    void Components() {
        const TxtSetupSection* scsi = m_file.Section("scsi");
        if (scsi == nullptr) {
            Finding("missing-section", 0,
                    std::string("no [scsi] section: the disk offers no mass storage "
                                "driver") +
                        kFormat);
            return;
        }
        const TxtSetupSection* defaults = m_file.Section("Defaults");
        for (const TxtSetupEntry& entry : defaults == nullptr ? kNone : defaults->entries) {
            if (TxtUpper(entry.key) == "SCSI" &&
                !std::any_of(scsi->entries.begin(), scsi->entries.end(),
                             [&](const TxtSetupEntry& option) {
                                 return TxtUpper(option.key) == TxtUpper(entry.fields[0]);
                             }))
                Finding("bad-default", entry.line,
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
            Finding("no-files-section", option.line,
                    "the option " + option.key + " has no [Files.scsi." + option.key +
                        "] section: setup has nothing to copy for it (\"Files.HwComponent.ID "
                        "Section of a TxtSetup.oem File\")");
            return;
        }
        std::vector<std::string> drivers;  // DriverKey of each driver line, in order
        std::vector<std::string> images;   // file names of the driver lines, upper case
        for (const TxtSetupEntry& line : files->entries) {
            if (!line.hasKey || line.fields.size() < 2)
                continue;
            const std::string type = TxtUpper(line.key);
            const auto disk = m_diskDirs.find(TxtUpper(line.fields[0]));
            if (disk == m_diskDirs.end()) {
                Finding("unknown-disk", line.line,
                        "the disk " + line.fields[0] +
                            " is defined in no [Disks] line: setup cannot copy " + line.fields[1] +
                            " (\"Files.HwComponent.ID Section of a TxtSetup.oem File\")");
            } else if (!m_machine.FileExists(OnDisk(disk->second + line.fields[1]))) {
                Finding("missing-disk-file", line.line,
                        line.fields[1] + " is not in the disk's folder " + disk->second +
                            ": setup stops the install there");
            }
            if (!IsShortName(line.fields[1]))
                Finding("long-file-name", line.line,
                        line.fields[1] + " is no 8.3 name: text-mode setup reads 8.3 names "
                                         "only (\"Files.HwComponent.ID Section of a "
                                         "TxtSetup.oem File\")");
            if (type == "DRIVER") {
                if (!drivers.empty())
                    Finding("several-drivers", line.line,
                            "a second driver= line in [" + files->name +
                                "]: text-mode setup loads the first driver only (KB885756)");
                drivers.push_back(line.fields.size() > 2 ? TxtUpper(line.fields[2]) : "");
                std::string image = TxtUpper(line.fields[1]);
                if (image.size() > 4 && image.compare(image.size() - 4, 4, ".SYS") == 0)
                    image.erase(image.size() - 4);
                images.push_back(image);
            }
        }
        m_allDrivers.insert(m_allDrivers.end(), drivers.begin(), drivers.end());
        HardwareIds(option, images, drivers);
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
            const std::string service = id.fields.size() > 1 ? TxtUpper(id.fields[1]) : "";
            if (std::find(images.begin(), images.end(), service) != images.end())
                continue;
            // The page says the image's name; a DriverKey other than the image's name is the
            // service's key, and disks that name it so are known to install (WinVBlock's).
            if (!service.empty() &&
                std::find(driverKeys.begin(), driverKeys.end(), service) != driverKeys.end())
                Finding("service-is-driver-key", id.line,
                        "the service \"" + id.fields[1] + "\" of " + id.fields[0] +
                            " is the driver's DriverKey, not its image name, which the page "
                            "asks for (\"HardwareIds.scsi.ID Section of a TxtSetup.oem File\")",
                        true);
            else
                Finding("service-not-driver", id.line,
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
            const std::string upper = TxtUpper(section.name);
            if (upper.compare(0, 7, "CONFIG.") == 0 &&
                std::find(m_allDrivers.begin(), m_allDrivers.end(), upper.substr(7)) ==
                    m_allDrivers.end())
                Finding("config-not-driver-key", section.line,
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
    CFakeOs& m_machine;
    const std::string& m_dir;
    const TxtSetupFile& m_file;
    TxtSetupResult& m_result;
    std::map<std::string, std::string> m_diskDirs;  // upper-case key -> directory ending in '\'
    std::vector<std::string> m_allDrivers;  // the DriverKey of every driver line, upper case
};
const std::vector<TxtSetupEntry> Checker::kNone;
}  // namespace

namespace {
// VEN_xxxx&DEV_xxxx of a PCI ID, upper case, or "" for one that names no single device.
std::string DeviceOf(const std::string& id) {
    PciIdParts parts;
    if (!ParsePciId(id, parts) || NamesNoSingleDevice(parts))
        return "";
    return "VEN_" + parts.vendor + "&DEV_" + parts.device;
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

// The three lists of devices: TXTSETUP.OEM's, key.ini's (whole VEN_&DEV_ entries) and the
// models' 2000 and XP read; says which device each list lacks.
// The lists the package in dir gives: key.ini as the launcher reads it, and the INF models.
TxtSetupLists ReadLists(CFakeOs& machine, const std::string& dir) {
    const LintResult keyFile = LintPackage(machine, dir);
    TxtSetupLists lists{keyFile.keyFileFound, keyFile.table, {}};
    for (OsType version : {OS_WIN2000, OS_WINXP}) {
        const VersionInf inf = ReadVersionInf(machine, dir, version);
        for (const ModelLine& line : inf.models.lines) {
            lists.modelIds.push_back(line.hardwareId);
            lists.modelIds.insert(lists.modelIds.end(), line.compatibleIds.begin(),
                                  line.compatibleIds.end());
        }
    }
    return lists;
}

void CrossCheck(const TxtSetupLists& lists, TxtSetupResult& result) {
    if (!lists.keyFileFound)
        return;
    result.crossChecked = true;
    std::vector<std::string> f6, keyIni, models;
    for (const std::string& id : result.ids)
        AddOnce(f6, DeviceOf(id));
    for (const std::string& entry : lists.keyIniTable)
        AddOnce(keyIni, DeviceOf("PCI\\" + entry));
    for (const std::string& id : lists.modelIds)
        AddOnce(models, DeviceOf(id));
    const auto lacks = [](const std::vector<std::string>& list, const std::string& device) {
        return std::find(list.begin(), list.end(), device) == list.end();
    };
    std::vector<std::string> all = keyIni;
    for (const std::string& device : models)
        AddOnce(all, device);
    for (const std::string& device : f6)
        AddOnce(all, device);
    for (const std::string& device : all) {
        std::string missing;
        if (lacks(f6, device))
            missing += "TXTSETUP.OEM";
        if (lacks(keyIni, device))
            missing += std::string(missing.empty() ? "" : " and ") + "key.ini";
        if (lacks(models, device))
            missing += std::string(missing.empty() ? "" : " and ") + "the models 2000 and XP read";
        if (missing.empty())
            continue;
        // A controller the F6 file lacks installs on a running XP and cannot carry XP's own
        // installation; one key.ini or the models lack is refused or gets no driver once
        // Windows runs.
        result.findings.push_back(TxtSetupFinding{
            lacks(f6, device) ? "f6-lacks-device" : "device-only-in-f6", kFile, 0,
            !lacks(f6, device),
            device + ": " + missing + " lack" +
                (missing.find(" and ") == std::string::npos ? "s" : "") + " it" +
                (lacks(f6, device)
                     ? "; it installs on a running Windows but cannot be used to install "
                       "Windows 2000 or XP onto it"
                     : "; text-mode setup installs it, Windows later finds no driver or the "
                       "launcher refuses it")});
    }
}
}  // namespace

TxtSetupResult CheckTxtSetup(CFakeOs& machine, const std::string& dir, const TxtSetupLists* lists) {
    const FakeOsInstalled installed(machine);
    TxtSetupResult result;
    const std::string path = dir + kFile;
    result.found = machine.FileExists(path);
    if (!result.found)
        return result;
    const TxtSetupFile file = ParseTxtSetup(machine.FileContent(path));
    Checker(machine, dir, file, result).Run();
    CrossCheck(lists != nullptr ? *lists : ReadLists(machine, dir), result);
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const TxtSetupFinding& a, const TxtSetupFinding& b) {
                         return a.warning != b.warning ? !a.warning : a.line < b.line;
                     });
    return result;
}
