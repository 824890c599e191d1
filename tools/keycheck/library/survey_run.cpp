// A library's folders surveyed side by side, their results handed on in path order.
#include "tools/keycheck/library/survey_run.h"

#include <algorithm>
#if defined(_GLIBCXX_HAS_GTHREADS)
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#endif

namespace {
FolderSurvey SurveyOne(const std::string& root, const LibraryFolder& folder,
                       const SurveyReading& how) {
    if (folder.trouble.empty())
        return SurveyFolder(root, folder.folder, how);
    FolderSurvey failed;
    failed.folder = folder.folder;
    failed.findings.push_back(
        MakeFinding(Code::Unreadable, "", 0, "the folder cannot be listed: " + folder.trouble));
    return failed;
}
}  // namespace

#if !defined(_GLIBCXX_HAS_GTHREADS)
int DefaultSurveyJobs() {
    return 1;
}

// MinGW's win32 thread model gives no std::thread: one folder at a time.
void SurveyLibrary(const std::string& root, const std::vector<LibraryFolder>& folders,
                   const SurveyReading& how, int jobs,
                   const std::function<void(FolderSurvey&)>& finish,
                   const std::function<void(FolderSurvey&)>& emit,
                   const std::function<void(std::size_t done)>& progress) {
    (void)jobs;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        FolderSurvey result = SurveyOne(root, folders[i], how);
        finish(result);
        emit(result);
        progress(i + 1);
    }
}
#else
int DefaultSurveyJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void SurveyLibrary(const std::string& root, const std::vector<LibraryFolder>& folders,
                   const SurveyReading& how, int jobs,
                   const std::function<void(FolderSurvey&)>& finish,
                   const std::function<void(FolderSurvey&)>& emit,
                   const std::function<void(std::size_t done)>& progress) {
    const std::size_t total = folders.size();
    const std::size_t workers = static_cast<std::size_t>(std::max(1, jobs));
    // A worker takes a folder only while fewer than this many results wait to be emitted.
    const std::size_t window = 4 * workers;
    std::mutex lock;
    std::condition_variable changed;
    std::size_t next = 0, emitted = 0;
    std::map<std::size_t, FolderSurvey> done;

    const auto work = [&]() {
        for (;;) {
            std::size_t index;
            {
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] { return next >= total || next < emitted + window; });
                if (next >= total)
                    return;
                index = next++;
            }
            FolderSurvey result = SurveyOne(root, folders[index], how);
            finish(result);
            {
                std::lock_guard<std::mutex> hold(lock);
                done.emplace(index, std::move(result));
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < workers && i < total; ++i)
        threads.emplace_back(work);
    while (emitted < total) {
        FolderSurvey ready;
        {
            std::unique_lock<std::mutex> hold(lock);
            changed.wait(hold, [&] { return done.count(emitted) != 0; });
            ready = std::move(done.at(emitted));
            done.erase(emitted);
        }
        emit(ready);
        {
            std::lock_guard<std::mutex> hold(lock);
            ++emitted;
        }
        changed.notify_all();
        progress(emitted);
    }
    for (std::thread& thread : threads)
        thread.join();
}
#endif
