// What a survey of a library adds up to: folders, INFs and the versions that read them, IDs,
// findings and warnings by code, and the folders with the most findings.
//
// Thread rule: a summary belongs to the thread that adds to it.
#pragma once

#include "tools/keycheck/library/folder_survey.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

class SurveySummary {
public:
    void Add(const FolderSurvey& folder);

    std::size_t folders = 0, infs = 0, f6Files = 0;
    std::map<OsType, std::size_t> infsReadBy;  // by each of kInfVersions
    std::map<std::string, std::size_t> findingsByCode, warningsByCode;
    // The distinct IDs of every folder added (counted once, when first asked for).
    std::size_t Ids() const;
    // The folders with the most findings, most first, at most kWorst of them.
    static const std::size_t kWorst = 10;
    const std::vector<std::pair<std::size_t, std::string>>& Worst() const { return m_worst; }

private:
    // Sorts the IDs and keeps each once; returns how many there are.
    std::size_t Compact() const;

    // Every folder's idKeys, sorted and made unique whenever they have doubled since, so that
    // they take 8 bytes a distinct ID, not one a models line.
    mutable std::vector<std::size_t> m_ids;
    mutable std::size_t m_compacted = 0;  // how many there were after the last compaction
    std::vector<std::pair<std::size_t, std::string>> m_worst;
};
