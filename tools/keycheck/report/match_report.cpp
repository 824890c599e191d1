// The reports of keycheck match.
#include "tools/keycheck/report/match_report.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/report/json_text.h"
#include "tools/keycheck/report/machine_report.h"
#include "tools/keycheck/text/shown_text.h"

#include <cstdio>

namespace {
std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

const char* Ordinal(int place) {
    static const char* const kNames[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th"};
    return place >= 0 && place < 8 ? kNames[place] : "later";
}

// "the device's 2nd hardware ID = the line's 1st compatible ID".
std::string Pair(const DriverRank& rank) {
    return std::string("the device's ") + Ordinal(rank.devicePlace) +
           (rank.deviceHardware ? " hardware ID" : " compatible ID") + " = the line's " +
           (rank.lineHardware ? std::string("hardware ID")
                              : std::string(Ordinal(rank.linePlace - 1)) + " compatible ID");
}

std::string SignatureText(const MatchCandidate& candidate) {
    const LibraryDriver& driver = candidate.line->driver;
    if (!IsNtVersion(driver.version))
        return "";
    if (driver.trusted)
        return ", signed";
    if (driver.version == OS_WIN2000)
        return ", unsigned (dated 00/00/0000)";
    return driver.ntInstall ? ", unsigned (+0x8000)"
                            : ", unsigned, no .NT install section (+0xC000)";
}
}  // namespace

void PrintMatchText(const std::string& machine, const std::string& library,
                    const MachineSource& source, const std::vector<DeviceMatch>& matches,
                    int codePage, std::ostream& out) {
    out << "keycheck match " << machine << " " << library << "\n  " << MachineLabel(source) << "\n";
    if (matches.empty())
        out << "\nThe machine holds no PCI device.\n";
    for (const DeviceMatch& match : matches) {
        out << "\n"
            << Shown(match.key, codePage) << " (" << VersionLabel(match.version) << ")\n"
            << "  IDs" << (match.idsFromKey ? " (its key name; the registry holds none)" : "")
            << ":";
        for (const auto* list : {&match.ids.hardware, &match.ids.compatible}) {
            for (const std::string& id : *list)
                out << " " << Shown(id, codePage);
        }
        out << "\n";
        if (match.candidates.empty()) {
            out << "  nothing in the library\n";
            continue;
        }
        for (std::size_t i = 0; i < match.candidates.size(); ++i) {
            const MatchCandidate& candidate = match.candidates[i];
            const LibraryDriver& driver = candidate.line->driver;
            out << "  " << Hex(candidate.rank.value) << "  " << Shown(candidate.line->inf, codePage)
                << ":" << driver.line.line << " [" << Shown(driver.line.section, codePage) << "] "
                << Shown(candidate.rank.lineId, codePage) << ": " << Pair(candidate.rank)
                << SignatureText(candidate)
                << (driver.driverVer.empty() ? ", no DriverVer"
                                             : ", DriverVer " + Shown(driver.driverVer, codePage))
                << (i == 0 ? "  <- chosen" : "") << "\n";
        }
    }
}

void PrintMatchJson(const std::string& machine, const std::string& library,
                    const MachineSource& source, const std::vector<DeviceMatch>& matches,
                    std::ostream& out) {
    Json devices = Json::array();
    for (const DeviceMatch& match : matches) {
        Json ids = Json::array();
        for (const auto* list : {&match.ids.hardware, &match.ids.compatible}) {
            for (const std::string& id : *list)
                ids.push_back(JsonBytes(id));
        }
        Json candidates = Json::array();
        for (const MatchCandidate& candidate : match.candidates) {
            const LibraryDriver& driver = candidate.line->driver;
            candidates.push_back(Json{{"inf", JsonBytes(candidate.line->inf)},
                                      {"line", driver.line.line},
                                      {"section", JsonBytes(driver.line.section)},
                                      {"id", JsonBytes(candidate.rank.lineId)},
                                      {"deviceId", JsonBytes(candidate.rank.deviceId)},
                                      {"rank", candidate.rank.value},
                                      {"rankText", Hex(candidate.rank.value)},
                                      {"signed", driver.trusted},
                                      {"driverVer", JsonBytes(driver.driverVer)}});
        }
        Json chosen = nullptr;
        if (!match.candidates.empty())
            chosen = Json{{"inf", JsonBytes(match.candidates[0].line->inf)},
                          {"line", match.candidates[0].line->driver.line.line}};
        devices.push_back(Json{{"key", JsonBytes(match.key)},
                               {"os", VersionOption(match.version)},
                               {"ids", ids},
                               {"idsFromKey", match.idsFromKey},
                               {"candidates", candidates},
                               {"chosen", chosen}});
    }
    PrintJson(Json{{"command", "match"},
                   {"machine", MachineJson(machine, source)},
                   {"library", JsonBytes(library)},
                   {"devices", devices}},
              out);
}
