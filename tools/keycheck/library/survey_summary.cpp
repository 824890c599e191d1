// What a survey of a library adds up to.
#include "tools/keycheck/library/survey_summary.h"

#include <algorithm>

namespace {
// Fewer IDs than this waiting are not worth a sort.
const std::size_t kCompactAbove = 1 << 16;
}  // namespace

void SurveySummary::Add(const FolderSurvey& folder) {
    ++folders;
    f6Files += folder.hasF6File ? 1 : 0;
    for (const SurveyedInf& inf : folder.infs) {
        ++infs;
        for (OsType version : inf.versions)
            ++infsReadBy[version];
    }
    m_ids.insert(m_ids.end(), folder.idKeys.begin(), folder.idKeys.end());
    if (m_ids.size() > 2 * m_compacted + kCompactAbove)
        Compact();
    std::size_t count = 0;
    for (const Finding& finding : folder.findings) {
        if (finding.severity == Severity::Finding) {
            ++findingsByCode[CodeName(finding.code)];
            ++count;
        } else if (finding.severity == Severity::Warning) {
            ++warningsByCode[CodeName(finding.code)];
        }
    }
    if (count == 0)
        return;
    // Most findings first; of equal counts, the folder first in path order, as it came first.
    const auto place = std::upper_bound(
        m_worst.begin(), m_worst.end(), count,
        [](std::size_t c, const std::pair<std::size_t, std::string>& w) { return c > w.first; });
    m_worst.insert(place, {count, folder.folder});
    if (m_worst.size() > kWorst)
        m_worst.pop_back();
}

std::size_t SurveySummary::Ids() const {
    return m_compacted == m_ids.size() ? m_compacted : Compact();
}

std::size_t SurveySummary::Compact() const {
    std::sort(m_ids.begin(), m_ids.end());
    m_ids.erase(std::unique(m_ids.begin(), m_ids.end()), m_ids.end());
    m_compacted = m_ids.size();
    return m_compacted;
}
