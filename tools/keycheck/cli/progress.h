// A line of progress on standard error, only when it is a terminal: folders done of the total,
// the rate, the time left. Nothing is written otherwise, so that a survey's output and errors
// stay the same whoever reads them.
//
// Thread rule: one thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>

class Progress {
public:
    // Shows progress on err when err is the process's standard error and that is a terminal.
    Progress(std::ostream& err, std::size_t total);
    void Show(std::size_t done);
    // Clears the line.
    void Finish();

private:
    std::ostream& m_err;
    std::size_t m_total;
    bool m_shown;
    std::chrono::steady_clock::time_point m_start, m_last;
};
