// Which models lines install a device, given the hardware and compatible IDs Windows has for it.
//
// Windows takes a line when one of the device's hardware or compatible IDs equals the line's
// hardware ID or one of its compatible IDs, and ranks the match as "Identifier Score"
// (learn.microsoft.com/windows-hardware/drivers/install/identifier-score--windows-vista-and-later-)
// and, for XP and 2000, "System-Defined Driver Rank Constants" describe: device hardware ID to
// INF hardware ID from 0x0000, to an INF compatible ID from 0x1000, device compatible ID to INF
// hardware ID from 0x2000, to an INF compatible ID from 0x3000, plus the position of the
// device's ID in its list.
#include "tools/keycheck/inf/model_match.h"

#include "tools/keycheck/text/ascii_case.h"

#include <algorithm>

namespace {
const int kMatchTypeStep = 0x1000;

// The rank of line for the device ID at position in its list, whose match types start at
// listBase, or -1 when the line names it nowhere.
int LineRank(const ModelLine& line, const std::string& id, int listBase, int position,
             bool& lineCompatible) {
    const std::string upper = AsciiUpper(id);
    lineCompatible = AsciiUpper(line.hardwareId) != upper;
    if (!lineCompatible)
        return listBase + position;
    for (const std::string& compatible : line.compatibleIds) {
        if (AsciiUpper(compatible) == upper)
            return listBase + kMatchTypeStep + position;
    }
    return -1;
}
}  // namespace

std::vector<ModelMatch> LinesInstalling(const std::vector<ModelLine>& models,
                                        const std::vector<std::string>& hardwareIds,
                                        const std::vector<std::string>& compatibleIds) {
    std::vector<ModelMatch> matches;
    for (const ModelLine& line : models) {
        ModelMatch best{&line, DeviceIdKind::HardwareId, false, {}, -1};
        const struct {
            const std::vector<std::string>* ids;
            DeviceIdKind kind;
            int base;
        } lists[] = {{&hardwareIds, DeviceIdKind::HardwareId, 0},
                     {&compatibleIds, DeviceIdKind::CompatibleId, 2 * kMatchTypeStep}};
        for (const auto& list : lists) {
            for (std::size_t i = 0; i < list.ids->size(); ++i) {
                bool lineCompatible = false;
                const int rank =
                    LineRank(line, (*list.ids)[i], list.base, static_cast<int>(i), lineCompatible);
                if (rank >= 0 && (best.rank < 0 || rank < best.rank))
                    best = ModelMatch{&line, list.kind, lineCompatible, (*list.ids)[i], rank};
            }
        }
        if (best.rank >= 0)
            matches.push_back(best);
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const ModelMatch& a, const ModelMatch& b) { return a.rank < b.rank; });
    return matches;
}
