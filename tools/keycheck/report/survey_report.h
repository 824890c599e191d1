// The reports of keycheck survey: JSON Lines (a line a folder in path order, the summary last)
// for programs, a summary and the worst folders for people.
#pragma once

#include "tools/keycheck/library/survey_summary.h"

#include <ostream>
#include <string>

// One folder's line: {"folder", "infs": [...], "f6File", "findings": [...], "warnings": [...]}.
void PrintSurveyFolderJson(const FolderSurvey& folder, std::ostream& out);
// The last line: {"summary": {...}}.
void PrintSurveySummaryJson(const SurveySummary& summary, std::ostream& out);
// What people read: the totals, the codes, the folders with the most findings.
void PrintSurveyText(const std::string& library, const SurveySummary& summary, std::ostream& out);
