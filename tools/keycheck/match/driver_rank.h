// How Setup ranks a driver for a device, and which of two it chooses, as each version does.
//
// 2000 and XP ("How Windows Ranks Drivers (Windows Server 2003, Windows XP, and Windows 2000)",
// its "Driver Rank Example" and "System-Defined Driver Rank Constants" pages): the identifier
// score of the best pair of IDs that match, lower being better:
//   a device hardware ID and the line's hardware ID      0x0000 + the device ID's place
//   a device hardware ID and one of its compatible IDs   0x1000 + the device ID's place
//   a device compatible ID and the line's hardware ID    0x2000 + the device ID's place
//   a device compatible ID and one of its compatible IDs 0x3000 + 0x100 * the line ID's place
//                                                               + the device ID's place
// (places from 0). XP adds a signature score: none for a driver it counts as signed; 0x8000
// (DRIVER_UNTRUSTED_RANK) for an unsigned one installed through an install section with an NT
// platform extension, 0xC000 (DRIVER_W9X_SUSPECT_RANK) through one without. Windows 2000 adds
// none, but takes an unsigned driver's DriverVer date as 00/00/0000 ("INF DriverVer Directive").
// The lowest rank is chosen; of equal ranks the newest DriverVer date, then the highest version
// ("How Windows Selects Drivers").
//
// 98 SE and Me check no signatures: keycheck ranks their drivers by the identifier score alone
// and breaks ties by DriverVer date and version as 2000 does. No Microsoft page on how 98 SE and
// Me rank survives; this is keycheck's choice, and it explains the public report of 98 SE
// choosing, of two INFs for one device, the one with the newer DriverVer.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "tools/keycheck/library/folder_survey.h"

#include <array>
#include <string>
#include <vector>

struct DeviceIds {
    std::vector<std::string> hardware;  // the device's, most specific first
    std::vector<std::string> compatible;
};

struct DriverRank {
    bool matched = false;
    unsigned value = 0;  // lower is better
    std::string deviceId;
    bool deviceHardware = true;
    int devicePlace = 0;  // in the device's hardware or compatible list, from 0
    std::string lineId;
    bool lineHardware = true;
    int linePlace = 0;       // 0 for the line's hardware ID, else its compatible ID's place from 1
    unsigned signature = 0;  // the signature score in value
};

// The rank the driver's version gives it for a device with those IDs; unmatched where no ID of
// the device is one of the line's (compared without regard to ASCII case).
DriverRank RankDriver(const DeviceIds& device, const LibraryDriver& driver);

// A DriverVer's date and version taken apart; absent or unreadable ones are 00/00/0000 and 0.
struct DriverVersion {
    int year = 0, month = 0, day = 0;
    std::array<long, 4> version{};
};
DriverVersion ParseDriverVer(const std::string& text);

// Whether the version's Setup chooses a over b, both of which match (same version): a lower
// rank, else a newer date, else a higher version.
bool ChosenOver(const DriverRank& aRank, const LibraryDriver& a, const DriverRank& bRank,
                const LibraryDriver& b);
