// What a library's survey adds up to: distinct IDs however many folders repeat them, and the
// folders with the most findings.
#include "tools/keycheck/library/survey_summary.h"

#include <gtest/gtest.h>

#include <string>

namespace {
FolderSurvey Folder(const std::string& name, std::size_t firstId, std::size_t ids,
                    int findings = 0) {
    FolderSurvey folder;
    folder.folder = name;
    for (std::size_t id = firstId; id < firstId + ids; ++id)
        folder.idKeys.push_back(id);
    for (int i = 0; i < findings; ++i)
        folder.findings.push_back(MakeFinding(Code::MissingSourceFile, "x.inf", 0, "copies"));
    return folder;
}

struct IdRow {
    const char* what;
    std::size_t folders, idsEach, step;  // folder i names idsEach IDs from i * step
    std::size_t distinct;
};

// Enough folders that the IDs waiting are compacted several times on the way.
const IdRow kIdRows[] = {
    {"the same IDs in every folder", 300, 1000, 0, 1000},
    {"each folder its own IDs", 300, 1000, 1000, 300000},
    {"each folder half new, half its neighbour's", 300, 1000, 500, 150500},
};

TEST(SurveySummaryTest, DistinctIdsAreCountedOnceWhateverRepeatsThem) {
    for (const IdRow& row : kIdRows) {
        SurveySummary summary;
        for (std::size_t i = 0; i < row.folders; ++i)
            summary.Add(Folder("f" + std::to_string(i), i * row.step, row.idsEach));
        EXPECT_EQ(row.distinct, summary.Ids()) << row.what;
        summary.Add(Folder("last", 0, 10));
        EXPECT_EQ(row.distinct, summary.Ids()) << row.what << ", then ten it had already";
    }
}

TEST(SurveySummaryTest, WorstFoldersMostFindingsFirstAndEqualOnesInPathOrder) {
    SurveySummary summary;
    const int findings[] = {2, 0, 5, 2, 1, 3, 1, 1, 4, 2, 1, 1, 6};
    for (std::size_t i = 0; i < sizeof findings / sizeof findings[0]; ++i)
        summary.Add(Folder("f" + std::to_string(i), 0, 0, findings[i]));
    std::string order;
    for (const auto& worst : summary.Worst())
        order += worst.second + ":" + std::to_string(worst.first) + " ";
    EXPECT_EQ("f12:6 f2:5 f8:4 f5:3 f0:2 f3:2 f9:2 f4:1 f6:1 f7:1 ", order);
    EXPECT_EQ(13u, summary.folders);
    EXPECT_EQ(29u, summary.findingsByCode["missing-source-file"]);
}
}  // namespace
