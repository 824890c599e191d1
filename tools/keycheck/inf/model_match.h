// Which models lines install a device, given the hardware and compatible IDs Windows has for it.
//
// Thread rule: pure functions; any thread.
#pragma once

#include "tools/keycheck/inf/inf_models.h"
#include "tools/keycheck/pciid/device_id_kind.h"

#include <string>
#include <vector>

struct ModelMatch {
    const ModelLine* line;
    DeviceIdKind deviceKind;
    bool lineCompatibleId;  // matched one of the line's compatible IDs, not its hardware ID
    std::string id;         // as the device has it
    // Windows' identifier score: 0x0000 device hardware ID to the line's hardware ID, 0x1000
    // to one of its compatible IDs, 0x2000 and 0x3000 the same for a device compatible ID;
    // plus the ID's position in the device's list. Lower is better.
    int rank;
};

// The lines of models that name one of the device's IDs (compared without regard to case),
// best first; each line once, by its best match.
std::vector<ModelMatch> LinesInstalling(const std::vector<ModelLine>& models,
                                        const std::vector<std::string>& hardwareIds,
                                        const std::vector<std::string>& compatibleIds);
