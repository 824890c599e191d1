// A library's folders surveyed side by side, their results handed on in path order.
//
// Thread rule: SurveyLibrary starts its own threads and returns when they are done; finish is
// called on those threads, side by side, each time with a folder of its own; emit and progress
// on the calling thread only, one call at a time.
#pragma once

#include "tools/keycheck/library/folder_survey.h"
#include "tools/keycheck/library/library_walk.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Surveys folders (as WalkLibrary lists them below root) with jobs threads, each folder once
// (keycheck.exe, whose MinGW runtime has no threads, one at a time).
// emit gets each folder's result in the order of folders, as soon as it and every folder before
// it are done; a folder that could not be listed gets an unreadable finding. At most a few
// results per thread wait to be emitted, so memory is bounded by the largest folders, not by the
// library. finish gets each result first, where it was made. progress gets the number of
// folders done after each.
void SurveyLibrary(const std::string& root, const std::vector<LibraryFolder>& folders,
                   const SurveyReading& how, int jobs,
                   const std::function<void(FolderSurvey&)>& finish,
                   const std::function<void(FolderSurvey&)>& emit,
                   const std::function<void(std::size_t done)>& progress);

// The threads a survey uses when not told: the machine's cores (1 where it has no threads).
int DefaultSurveyJobs();
