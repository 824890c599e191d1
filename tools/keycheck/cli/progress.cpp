// A line of progress on standard error, only when it is a terminal.
#include "tools/keycheck/cli/progress.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define KEYCHECK_ISATTY _isatty
#else
#include <unistd.h>
#define KEYCHECK_ISATTY isatty
#endif

Progress::Progress(std::ostream& err, std::size_t total)
    : m_err(err), m_total(total), m_shown(&err == &std::cerr && KEYCHECK_ISATTY(2) != 0),
      m_start(std::chrono::steady_clock::now()), m_last(m_start) {}

void Progress::Show(std::size_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_shown || (now - m_last < std::chrono::milliseconds(200) && done < m_total))
        return;
    m_last = now;
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    char line[160];
    std::snprintf(line, sizeof line, "\r%zu of %zu folders, %.0f/s, %.0f s left   ", done, m_total,
                  rate, rate > 0 ? static_cast<double>(m_total - done) / rate : 0.0);
    m_err << line << std::flush;
}

void Progress::Finish() {
    if (m_shown)
        m_err << "\r" << std::string(60, ' ') << "\r" << std::flush;
}
