// Which models lines of an INF file one Windows version reads.
#include "tools/keycheck/inf/inf_models.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/inf/target_os.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <unordered_map>

namespace {
// The signatures of "INF Version Section": $Windows NT$, $Chicago$ and $Windows 95$, compared
// without regard to case. The NT family refuses any other (Wine's INF parser conformance
// tests, invalid_files table: "Signature=foo" gives ERROR_WRONG_INF_STYLE); Windows 98 SE
// and Me do not take $Windows NT$. What the 9x loader makes of other spellings no source
// settles: INFs Microsoft shipped on the Windows 98 CD say $Windows95$, $WINDOWS95$ and
// $Windows 9x$, so keycheck reads such a file on 9x and warns.
enum class SignatureRead { Yes, No, Unsettled };

SignatureRead SignatureReadBy(const std::string& signature, OsType version) {
    const std::string upper = AsciiUpper(signature);
    if (upper == "$CHICAGO$" || upper == "$WINDOWS 95$")
        return SignatureRead::Yes;
    if (upper == "$WINDOWS NT$")
        return IsNtVersion(version) ? SignatureRead::Yes : SignatureRead::No;
    return IsNtVersion(version) ? SignatureRead::No : SignatureRead::Unsettled;
}

// The install section a models line names, with the platform extensions the version looks
// for first ("Creating INF Files for Multiple Platforms and Operating Systems": .NTx86,
// then .NT, then undecorated on the NT family; Windows 9x knows only the undecorated name).
bool InstallSectionExists(const InfFile& inf, const std::string& name, OsType version) {
    if (IsNtVersion(version) &&
        (inf.Section(name + ".NTx86") != nullptr || inf.Section(name + ".NT") != nullptr))
        return true;
    return inf.Section(name) != nullptr;
}

void AddFinding(InfModels& models, const InfFile& inf, int line, Code code,
                const std::string& text) {
    models.findings.push_back(MakeFinding(code, inf.path, line, text));
}

// The line's IDs: "description = install-section, [hw-id][, compatible-id...]" names at least
// one, and a line may name a device by compatible IDs alone ("INF Models Section").
bool NamesAnId(const InfLine& entry) {
    for (std::size_t i = 1; i < entry.fields.size(); ++i) {
        if (!entry.fields[i].empty())
            return true;
    }
    return false;
}

void ReadModels(const InfFile& inf, const std::string& name, int manufacturerLine, OsType version,
                InfModels& models) {
    // Most lines of a section name the same install section, looked up once.
    std::unordered_map<std::string, bool> installSections;
    const InfSection* section = inf.Section(name);
    if (section == nullptr) {
        AddFinding(models, inf, manufacturerLine, Code::MissingModelsSection,
                   "[Manufacturer] names the models section [" + name + "], which does not exist");
        return;
    }
    models.sections.push_back(section->name);
    models.lines.reserve(models.lines.size() + section->lines.size());
    for (const InfLine& entry : section->lines) {
        if (!entry.hasKey || !NamesAnId(entry)) {
            AddFinding(models, inf, entry.line, Code::BadModelsLine,
                       "a line of [" + section->name +
                           "] without \"description = install-section, hardware-id\" or a "
                           "compatible ID");
            continue;
        }
        ModelLine line{inf.path,        section->name,   entry.line, entry.key,
                       entry.fields[0], entry.fields[1], {}};
        for (std::size_t i = 2; i < entry.fields.size(); ++i) {
            if (!entry.fields[i].empty())
                line.compatibleIds.push_back(entry.fields[i]);
        }
        auto known = installSections.find(line.installSection);
        if (known == installSections.end())
            known = installSections
                        .emplace(line.installSection,
                                 InstallSectionExists(inf, line.installSection, version))
                        .first;
        if (!known->second)
            AddFinding(models, inf, entry.line, Code::MissingInstallSection,
                       "the install section [" + line.installSection + "] of \"" +
                           (line.hardwareId.empty() ? line.compatibleIds[0] : line.hardwareId) +
                           "\" does not exist");
        models.lines.push_back(std::move(line));
    }
}
}  // namespace

bool VersionReadsSection(const InfFile& inf, const InfModels& models, const std::string& section,
                         OsType version) {
    const std::string upper = AsciiUpper(section);
    const auto same = [&upper](const std::string& name) { return AsciiUpper(name) == upper; };
    if (upper == "STRINGS" || upper.compare(0, 8, "STRINGS.") == 0)
        return std::any_of(inf.stringsRead.begin(), inf.stringsRead.end(), same);
    // A section some [Manufacturer] entry names, decorated or not, is a models section.
    const InfSection* manufacturer = inf.Section("Manufacturer");
    static const std::vector<InfLine> kNoLines;
    for (const InfLine& entry : manufacturer == nullptr ? kNoLines : manufacturer->lines) {
        const std::string name = entry.fields.empty() ? "" : entry.fields[0];
        bool named = same(name);
        for (std::size_t i = 1; entry.hasKey && i < entry.fields.size(); ++i)
            named = named || same(name + "." + entry.fields[i]);
        if (named)
            return std::any_of(models.sections.begin(), models.sections.end(), same);
    }
    // Install sections and theirs: Windows 9x knows no platform extension; 2000 and XP look
    // for .NTx86 and .NT ("Creating INF Files for Multiple Platforms and Operating Systems"),
    // so .NTamd64, .NTia64 and the like are no section of these four.
    for (std::size_t dot = upper.find('.'); dot != std::string::npos;
         dot = upper.find('.', dot + 1)) {
        const std::size_t end = upper.find('.', dot + 1);
        const std::string part =
            upper.substr(dot + 1, end == std::string::npos ? end : end - dot - 1);
        if (part.compare(0, 2, "NT") == 0 && IsTargetOsDecoration(part))
            return IsNtVersion(version) && (part == "NT" || part == "NTX86");
    }
    return true;
}

InfModels ModelsForVersion(const InfFile& inf, OsType version) {
    InfModels models;
    if (inf.openError) {
        models.findings.push_back(*inf.openError);
        return models;
    }
    const std::string* signature = inf.Value("Version", "Signature");
    if (signature == nullptr) {
        const InfSection* section = inf.Section("Version");
        AddFinding(
            models, inf, section == nullptr ? 0 : section->line, Code::NoSignature,
            "no [Version] section with a Signature: Windows does not take the file as an INF");
        return models;
    }
    const SignatureRead read = SignatureReadBy(*signature, version);
    if (read == SignatureRead::No) {
        AddFinding(models, inf, inf.Section("Version")->line, Code::WrongSignature,
                   "the signature \"" + *signature + "\" is not one this Windows version reads");
        return models;
    }
    if (read == SignatureRead::Unsettled)
        AddFinding(models, inf, inf.Section("Version")->line, Code::UndocumentedSignature,
                   "the signature \"" + *signature +
                       "\" is not a documented one; whether Windows 9x reads the file no source "
                       "settles, and keycheck reads it as if it did");
    const InfSection* manufacturer = inf.Section("Manufacturer");
    if (manufacturer == nullptr) {
        AddFinding(models, inf, 0, Code::NoManufacturer,
                   "no [Manufacturer] section: the file installs no device");
        return models;
    }
    models.readable = true;
    for (const InfLine& entry : manufacturer->lines) {
        // "manufacturer-name" alone names a models section of that name; "%strkey% =
        // models-section-name[, TargetOSVersion...]" names one and its decorations, which
        // only Windows XP of these four reads ("INF Manufacturer Section").
        const std::string name = entry.fields.empty() ? "" : entry.fields[0];
        if (!entry.hasKey || version != OS_WINXP) {
            ReadModels(inf, name, entry.line, version, models);
            continue;
        }
        const std::vector<std::string> decorations(entry.fields.begin() + 1, entry.fields.end());
        for (const std::string& decoration : decorations) {
            if (!IsTargetOsDecoration(decoration))
                AddFinding(models, inf, entry.line, Code::BadDecoration,
                           "\"" + decoration + "\" is no TargetOSVersion decoration");
        }
        const int picked = DecorationXpPicks(decorations);
        ReadModels(inf, picked < 0 ? name : name + "." + decorations[picked], entry.line, version,
                   models);
    }
    return models;
}
