// How Setup ranks a driver for a device, and which of two it chooses, as each version does.
#include "tools/keycheck/match/driver_rank.h"

#include "tools/keycheck/findings/checked_versions.h"
#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <tuple>

namespace {
const unsigned kUntrusted = 0x8000;   // DRIVER_UNTRUSTED_RANK
const unsigned kW9xSuspect = 0xC000;  // DRIVER_W9X_SUSPECT_RANK
const unsigned kListPlaces = 0x0FFF;  // DRIVER_HARDWAREID_RANK: the worst place score

unsigned Score(bool deviceHardware, int devicePlace, bool lineHardware, int linePlace) {
    const unsigned place = std::min<unsigned>(static_cast<unsigned>(devicePlace), 0xFF);
    if (deviceHardware)
        return (lineHardware ? 0x0000 : 0x1000) + std::min<unsigned>(place, kListPlaces);
    if (lineHardware)
        return 0x2000 + place;
    return 0x3000 + 0x100 * std::min<unsigned>(static_cast<unsigned>(linePlace - 1), 0xF) + place;
}

// 2000 dates an unsigned driver 00/00/0000; the others take its DriverVer as written.
DriverVersion DateAsSeen(const LibraryDriver& driver) {
    if (driver.version == OS_WIN2000 && !driver.trusted)
        return DriverVersion{0, 0, 0, ParseDriverVer(driver.driverVer).version};
    return ParseDriverVer(driver.driverVer);
}
}  // namespace

DriverRank RankDriver(const DeviceIds& device, const LibraryDriver& driver) {
    DriverRank best;
    std::vector<std::string> lineIds{driver.line.hardwareId};
    lineIds.insert(lineIds.end(), driver.line.compatibleIds.begin(),
                   driver.line.compatibleIds.end());
    for (int kind = 0; kind < 2; ++kind) {
        const std::vector<std::string>& list = kind == 0 ? device.hardware : device.compatible;
        for (std::size_t d = 0; d < list.size(); ++d) {
            const std::string upper = AsciiUpper(list[d]);
            for (std::size_t l = 0; l < lineIds.size(); ++l) {
                if (lineIds[l].empty() || AsciiUpper(lineIds[l]) != upper)
                    continue;
                const unsigned score =
                    Score(kind == 0, static_cast<int>(d), l == 0, static_cast<int>(l));
                if (!best.matched || score < best.value)
                    best = DriverRank{true,
                                      score,
                                      list[d],
                                      kind == 0,
                                      static_cast<int>(d),
                                      lineIds[l],
                                      l == 0,
                                      static_cast<int>(l),
                                      0};
            }
        }
    }
    if (best.matched && driver.version == OS_WINXP && !driver.trusted) {
        best.signature = driver.ntInstall ? kUntrusted : kW9xSuspect;
        best.value += best.signature;
    }
    return best;
}

DriverVersion ParseDriverVer(const std::string& text) {
    DriverVersion parsed;
    const std::size_t comma = text.find(',');
    const std::string date = text.substr(0, comma);
    int month = 0, day = 0, year = 0;
    char separator1 = 0, separator2 = 0;
    if (std::sscanf(date.c_str(), "%d%c%d%c%d", &month, &separator1, &day, &separator2, &year) ==
            5 &&
        (separator1 == '/' || separator1 == '-') && separator2 == separator1 && month >= 1 &&
        month <= 12 && day >= 1 && day <= 31 && year >= 1980) {
        parsed.year = year;
        parsed.month = month;
        parsed.day = day;
    }
    if (comma != std::string::npos) {
        const char* at = text.c_str() + comma + 1;
        for (long& part : parsed.version) {
            char* end = nullptr;
            part = std::strtol(at, &end, 10);
            if (end == at || *end != '.')
                break;
            at = end + 1;
        }
    }
    return parsed;
}

bool ChosenOver(const DriverRank& aRank, const LibraryDriver& a, const DriverRank& bRank,
                const LibraryDriver& b) {
    if (aRank.value != bRank.value)
        return aRank.value < bRank.value;
    const DriverVersion aSeen = DateAsSeen(a), bSeen = DateAsSeen(b);
    return std::make_tuple(aSeen.year, aSeen.month, aSeen.day, aSeen.version) >
           std::make_tuple(bSeen.year, bSeen.month, bSeen.day, bSeen.version);
}
